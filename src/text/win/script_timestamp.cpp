#include "text/win/script_timestamp.h"

#include "declared/declared_functions.h"
#include "runtime/win/com_ops.h"
#include "text/clock_timestamp.h"

namespace brindor {

namespace {

Text time_from_script() {
    ComObject script;
    Text time;
    if (com_create(script, "ScriptControl") && com_set_property(script, "Language", Value::text("JScript"))) {
        com_call_number(script, "ExecuteStatement",
                        {Value::text("function time(){return new Date().getTime()}")});
        Variant result = com_call_variant(script, "Run", {Value::text("time")});
        time = variant_to_text(result);
        variant_clear(result);
    }
    com_clear(script);
    return time;
}

} // namespace

Text ScriptTimestamp() {
    int32_t started = call_declared<int32_t>(kCoInitialize, static_cast<void*>(nullptr));
    Text time = time_from_script();
    // A thread already started in another apartment mode refuses; its COM is not ours to end.
    if (started >= 0) call_declared<void>(kCoUninitialize);
    if (!IsTimestampText(time)) time = ClockTimestamp();
    return time;
}

} // namespace brindor
