#include "app/LumivexApp.h"

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/AppDefs.h"
#include "app/CloseSignals.h"
#include "app/LumivexView.h"
#include "app/MainFrame.h"
#include "comm/SocketEx.h"
#include "platform/InstanceLock.h"
#include "platform/ResourceText.h"
#include "settings/ProfileStore.h"

namespace {

bool TakeValue(int argc, const char* const* argv, int& i, const std::string& option, std::string& out,
               std::string& error) {
    const std::string arg = argv[i];
    if (arg.rfind(option + "=", 0) == 0) {
        out = arg.substr(option.size() + 1);
    } else if (i + 1 < argc) {
        out = argv[++i];
    } else {
        error = option + " needs a FILE";
        return false;
    }
    if (out.empty()) {
        error = option + " needs a FILE";
        return false;
    }
    return true;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

CLumivexApp::CLumivexApp() = default;

CLumivexApp::~CLumivexApp() { ExitInstance(); }

const char* CLumivexApp::Usage() {
    return "usage: lumivex [--profile FILE] [--resources FILE] [--help] [--version]\n"
           "  --profile FILE    the profile store to use (default: $XDG_CONFIG_HOME/TARNEL/Lumivex.conf)\n"
           "  --resources FILE  the resource bundle (default: lumivex.rcc beside the program,\n"
           "                    then lumivex/lumivex.rcc in the installed data folders)\n"
           "  --help            this text\n"
           "  --version         the program's version\n";
}

bool CLumivexApp::ParseCommandLine(int argc, const char* const* argv, LumivexOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--profile" || arg.rfind("--profile=", 0) == 0) {
            if (!TakeValue(argc, argv, i, "--profile", out.profilePath, error))
                return false;
        } else if (arg == "--resources" || arg.rfind("--resources=", 0) == 0) {
            if (!TakeValue(argc, argv, i, "--resources", out.resourcesPath, error))
                return false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

std::string CLumivexApp::FindResourceBundle(const std::string& given) {
    if (!given.empty())
        return given;
    const std::string beside = DefaultResourceBundlePath();
    if (Exists(beside))
        return beside;
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("lumivex/lumivex.rcc"))
        .toStdString();
}

bool CLumivexApp::InitInstance(const LumivexOptions& options, int& exitStatus) {
    exitStatus = 1;
    // A request to end from outside closes the window as the operator would
    // (or, before there is one, ends the start-up's message box).
    m_closeSignals = std::make_unique<CCloseSignals>([this] {
        if (m_frame && m_frame->isVisible())
            m_frame->close();
        else
            QCoreApplication::exit(1);
    });
    const std::string bundle = FindResourceBundle(options.resourcesPath);
    // A bundle that cannot be used is named on stderr by the loader itself.
    LoadResourceBundle(bundle.empty() ? DefaultResourceBundlePath() : bundle);
    if (SocketsStartup() != 0) {
        ShowStartError(ResourceText(IDS_SOCKETS_FAILED));
        return false;
    }
    m_socketsStarted = true;
    OpenProfile(options.profilePath);
    bool heldByOther = false;
    m_instanceLock = AcquireInstanceLock(InstanceLockPath(), &heldByOther);
    if (!m_instanceLock) {
        if (heldByOther) {
            exitStatus = 0;  // a second start ends silently
            return false;
        }
        std::fprintf(stderr, "lumivex: cannot make the lock file %s; another console may start too\n",
                     InstanceLockPath().c_str());
    }
    auto* view = new CLumivexView;
    m_frame = std::make_unique<CMainFrame>(view);
    if (view->Create() != 0) {
        ShowStartError(view->CreateError());
        m_frame.reset();
        return false;
    }
    // The desktop session is ending: everything is saved now (the list and
    // groups are already); the session then ends the program, by a signal
    // at the latest.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_frame.get(), [this] {
        m_frame->SavePlacement();
        m_frame->View()->SaveSettings();
    });
    m_frame->ShowAsStored();
    exitStatus = 0;
    return true;
}

void CLumivexApp::ShowStartError(const std::string& text) {
    std::fprintf(stderr, "lumivex: %s\n", text.c_str());
    QMessageBox::critical(nullptr, QString::fromStdString(ResourceText(IDS_APP_TITLE)), QString::fromStdString(text));
}

void CLumivexApp::ExitInstance() {
    if (m_frame) {
        m_frame->close();  // saves, if the window was not closed yet
        m_frame.reset();
    }
    m_closeSignals.reset();
    if (m_socketsStarted) {
        SocketsCleanup();
        m_socketsStarted = false;
    }
    m_instanceLock.reset();
}
