#pragma once
// CLumivexApp: the console's start-up and shutdown: the resource bundle, the
// sockets layer, the profile store, the single-instance lock, then the main
// frame with its view; at the end the sockets layer is shut down and the lock
// released. Created by main() around the event loop.
#include <memory>
#include <string>

#include <QLockFile>

class CCloseSignals;
class CMainFrame;

// The command line: lumivex [--profile FILE] [--resources FILE] [--help] [--version].
struct LumivexOptions {
    std::string profilePath;    // "" : the per-user store
    std::string resourcesPath;  // "" : beside the program, then the installed data folder
    bool help = false;
    bool version = false;
};

class CLumivexApp {
public:
    CLumivexApp();
    ~CLumivexApp();
    CLumivexApp(const CLumivexApp&) = delete;
    CLumivexApp& operator=(const CLumivexApp&) = delete;

    // False with a message in error for an unknown option or a missing value.
    static bool ParseCommandLine(int argc, const char* const* argv, LumivexOptions& out, std::string& error);
    static const char* Usage();
    // The bundle to load: the one given, else lumivex.rcc beside the program,
    // else the installed one; "" when none of them exists.
    static std::string FindResourceBundle(const std::string& given);

    // The start-up sequence. True to run the event loop; false to end at once
    // with exitStatus (0 for a second instance, which ends silently).
    bool InitInstance(const LumivexOptions& options, int& exitStatus);
    // After the event loop: the frame goes (if it has not), then the sockets.
    void ExitInstance();

    CMainFrame* Frame() const { return m_frame.get(); }

private:
    void ShowStartError(const std::string& text);

    bool m_socketsStarted = false;
    std::unique_ptr<QLockFile> m_instanceLock;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CCloseSignals> m_closeSignals;
};
