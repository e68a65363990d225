#include "app/record/win/start_question.h"
#include "app/signin/win/browser_mode.h"
#include "app/state.h"
#include "app/windows/ids.h"
#include "app/windows/program_windows.h"
#include "runtime/win/program.h"

int main() {
    using namespace brindor;
    initialize_runtime();
    app::CreateProgramState();
    register_end_routine(app::ReleaseProgramState);
    app::register_program_windows();
    app::UseNewestBrowserMode();
    load_start_window(app::kMainWindowId);
    app::LookAtRecord();
    run_message_loop();
    end_program(0);
}
