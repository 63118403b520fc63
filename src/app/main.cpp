// lumivex: the console.
#include <cstdio>
#include <string>

#include <QApplication>

#include "app/AppDefs.h"
#include "app/LumivexApp.h"
#include "platform/ResourceText.h"
#include "settings/ProfileStore.h"

int main(int argc, char** argv) {
    // The options come first: --help and --version need no display.
    LumivexOptions options;
    std::string error;
    if (!CLumivexApp::ParseCommandLine(argc, argv, options, error)) {
        std::fprintf(stderr, "lumivex: %s\n%s", error.c_str(), CLumivexApp::Usage());
        return 2;
    }
    if (options.help) {
        std::fputs(CLumivexApp::Usage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("lumivex %s\n", LUMIVEX_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(true);
    int status = 0;
    {
        CLumivexApp lumivex;
        if (lumivex.InitInstance(options, status))
            status = app.exec();
        lumivex.ExitInstance();
    }
    CloseProfile();
    UnloadResourceBundle();
    return status;
}
