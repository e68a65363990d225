#include "app/import/win/link_intake.h"
#include "app/magnet/win/magnet_handler.h"
#include "app/program_ids.h"
#include "app/record/win/start_question.h"
#include "app/settings/win/program_settings.h"
#include "app/signin/win/browser_mode.h"
#include "app/start/win/single_copy.h"
#include "app/start/win/start_items.h"
#include "app/state.h"
#include "app/watch/win/auto_start.h"
#include "app/watch/win/clipboard_watch.h"
#include "app/watch/win/folder_watch.h"
#include "app/windows/program_windows.h"
#include "runtime/win/program.h"

int main() {
    using namespace brindor;
    initialize_runtime();
    app::UseProgramSettingsFile();
    app::CreateProgramState();
    register_end_routine(app::ReleaseProgramState);
    app::register_program_windows();
    const FileNames items = app::StartItems();
    if (!app::BecomeTheOnlyCopy()) end_program(app::HandOverToFirstCopy(items));
    app::UseNewestBrowserMode();
    app::RenewMagnetHandler();
    load_start_window(app::kMainWindowId);
    {
        // Links handed over during the record's question, which may replace the list, join after it.
        const app::IntakeHeld held;
        app::LookAtRecord();
        app::LoadAutoStart();
        app::AddLinks(app::LinksOfItems(items));
    }
    app::StartClipboardWatch();
    app::StartFolderWatch();
    run_message_loop();
    end_program(0);
}
