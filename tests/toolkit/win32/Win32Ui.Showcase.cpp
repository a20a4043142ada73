// Shows the sample form until told to stop, for a screenshot taken from outside.
// Usage: toolkit_win32_showcase SHOWN_MARKER STOP_MARKER
// Writes SHOWN_MARKER once the form is on screen and painted, then runs until STOP_MARKER exists
// (or two minutes have passed, so that a lost script cannot leave it running).
#include "tests/toolkit/win32/Win32Ui.SampleForm.h"
#include "tests/toolkit/win32/Win32Ui.TestScene.h"

#include <filesystem>
#include <fstream>

int wmain(int argc, wchar_t** argv) {
    using namespace toolkit;
    using namespace toolkit::win32::testing;
    if (argc != 3) {
        std::fputs("usage: toolkit_win32_showcase SHOWN_MARKER STOP_MARKER\n", stderr);
        return 2;
    }
    const std::filesystem::path shown = argv[1];
    const std::filesystem::path stop = argv[2];
    TScene scene;
    TOwnedPtr<TSampleForm> form{NewForm<TSampleForm>(static_cast<TComponent*>(&scene.App))};
    form->Log->Lines().Add(
        u"A second copy of Tarvin was started. It brought this window up and then closed itself.");
    form->Grid->SetRow(1);
    form->Show();
    if (!WaitUntil([&] { return form->CellsDrawn > 0; }, std::chrono::seconds(30))) {
        std::fputs("the form was not painted\n", stderr);
        return 1;
    }
    // Every child has painted once no window of the form waits for a repaint.
    HWND window = WindowOf(*form);
    const auto painted = [window] {
        bool pending = ::GetUpdateRect(window, nullptr, FALSE) != FALSE;
        ::EnumChildWindows(
            window,
            [](HWND Child, LPARAM Pending) {
                if (::GetUpdateRect(Child, nullptr, FALSE) != FALSE)
                    *reinterpret_cast<bool*>(Pending) = true;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&pending));
        return !pending;
    };
    if (!WaitUntil(painted, std::chrono::seconds(30))) {
        std::fputs("the form's windows kept waiting for a repaint\n", stderr);
        return 1;
    }
    std::ofstream(shown) << "shown\n";
    const bool stopped = WaitUntil([&] { return std::filesystem::exists(stop); }, std::chrono::seconds(120));
    return stopped ? 0 : 1;
}
