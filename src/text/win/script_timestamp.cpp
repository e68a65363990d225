#include "text/win/script_timestamp.h"

#include "declared/declared_functions.h"
#include "runtime/win/com_ops.h"
#include "text/clock_timestamp.h"

namespace brindor {

namespace {

struct ThreadClock {
    ScriptClockScope* scope = nullptr;
    ComObject script; // made on first use inside a scope, released when the outermost scope ends
};

thread_local ThreadClock t_clock;

// A failed statement shows later as a Run that gives no number.
bool prepare_script(ComObject& script) {
    if (!com_create(script, "ScriptControl") || !com_set_property(script, "Language", Value::text("JScript")))
        return false;
    com_call_number(script, "ExecuteStatement",
                    {Value::text("function time(){return new Date().getTime()}")});
    return true;
}

Text run_time(ComObject& script) {
    Variant result = com_call_variant(script, "Run", {Value::text("time")});
    Text time = variant_to_text(result);
    variant_clear(result);
    return time;
}

Text time_from_new_script() {
    ComObject script;
    Text time;
    if (prepare_script(script)) time = run_time(script);
    com_clear(script);
    return time;
}

Text time_from_thread_script() {
    ComObject& script = t_clock.script;
    if (script.empty() && !prepare_script(script)) {
        com_clear(script);
        return Text();
    }
    Text time = run_time(script);
    // A broken object is not kept: the next call starts afresh.
    if (!IsTimestampText(time)) com_clear(script);
    return time;
}

} // namespace

Text ScriptTimestamp() {
    if (t_clock.scope) {
        Text time = time_from_thread_script();
        return IsTimestampText(time) ? time : ClockTimestamp();
    }
    int32_t started = call_declared<int32_t>(kCoInitialize, static_cast<void*>(nullptr));
    Text time = time_from_new_script();
    // A thread already started in another apartment mode refuses; its COM is not ours to end.
    if (started >= 0) call_declared<void>(kCoUninitialize);
    if (!IsTimestampText(time)) time = ClockTimestamp();
    return time;
}

ScriptClockScope::ScriptClockScope()
    : com_started_(call_declared<int32_t>(kCoInitialize, static_cast<void*>(nullptr))),
      outer_(t_clock.scope) {
    t_clock.scope = this;
}

ScriptClockScope::~ScriptClockScope() {
    t_clock.scope = outer_;
    // The object must go while COM is still up on this thread.
    if (!outer_) com_clear(t_clock.script);
    if (com_started_ >= 0) call_declared<void>(kCoUninitialize);
}

} // namespace brindor
