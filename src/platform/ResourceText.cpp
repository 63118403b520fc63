#include "platform/ResourceText.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>

#include <QFile>
#include <QResource>
#include <QString>

namespace {

const QString kTextsPath = QStringLiteral(":/lumivex/texts.tsv");

struct Texts {
    std::mutex mutex;
    bool loaded = false;
    std::string registered;  // bundle currently registered with Qt
    std::map<int, std::string> byId;
    std::set<std::string> reported;  // bundles already said to be missing
};

Texts& Store() {
    static Texts texts;
    return texts;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

std::map<int, std::string> ParseTexts(const QByteArray& data) {
    std::map<int, std::string> texts;
    for (const QByteArray& rawLine : data.split('\n')) {
        QByteArray line = rawLine;
        if (line.endsWith('\r'))
            line.chop(1);
        int tab = line.indexOf('\t');
        if (line.isEmpty() || line.startsWith('#') || tab <= 0)
            continue;
        bool ok = false;
        int id = line.left(tab).toInt(&ok);
        if (ok)
            texts[id] = Unescape(line.mid(tab + 1).toStdString());
    }
    return texts;
}

// Loads the texts of the bundle at path; on failure the reason, "" on success.
std::string LoadLocked(Texts& store, const std::string& path) {
    store.loaded = true;
    store.byId.clear();
    if (!store.registered.empty()) {
        QResource::unregisterResource(QString::fromStdString(store.registered));
        store.registered.clear();
    }
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return "not found";
    if (!QResource::registerResource(QString::fromStdString(path)))
        return "unreadable, or not a resource bundle";
    store.registered = path;
    QFile file(kTextsPath);
    if (!file.open(QIODevice::ReadOnly))
        return "no texts in it";
    store.byId = ParseTexts(file.readAll());
    return {};
}

// Empty texts look like a fault anywhere but here (blank states, dropped
// mails), so the operator is told once per bundle where it was looked for.
// Called without the lock: the message is written after the load is done.
void SayUnusable(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "%s: resource bundle %s: %s; the numbered texts (states, group names, mail bodies) are empty\n",
                 program_invocation_short_name, path.c_str(), problem.c_str());
}

// Loads under the lock (on first use only when nothing was loaded meanwhile);
// reports a failure once per bundle after unlocking.
bool LoadAndReport(Texts& store, const std::string& path, bool firstUse) {
    std::string problem;
    bool first = false;
    {
        std::lock_guard lock(store.mutex);
        if (firstUse && store.loaded)
            return true;
        problem = LoadLocked(store, path);
        first = !problem.empty() && store.reported.insert(path).second;
    }
    if (first)
        SayUnusable(path, problem);
    return problem.empty();
}

}  // namespace

std::string DefaultResourceBundlePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "lumivex.rcc";
    return (exe.parent_path() / "lumivex.rcc").string();
}

bool LoadResourceBundle(const std::string& path) {
    return LoadAndReport(Store(), path.empty() ? DefaultResourceBundlePath() : path, false);
}

void UnloadResourceBundle() {
    Texts& store = Store();
    std::lock_guard lock(store.mutex);
    store.byId.clear();
    if (!store.registered.empty())
        QResource::unregisterResource(QString::fromStdString(store.registered));
    store.registered.clear();
}

std::string ResourceText(int id) {
    Texts& store = Store();
    auto find = [&store, id] {
        auto it = store.byId.find(id);
        return it == store.byId.end() ? std::string() : it->second;
    };
    {
        std::lock_guard lock(store.mutex);
        if (store.loaded)
            return find();
    }
    LoadAndReport(store, DefaultResourceBundlePath(), true);
    std::lock_guard lock(store.mutex);
    return find();
}
