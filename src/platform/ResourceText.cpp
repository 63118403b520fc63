#include "platform/ResourceText.h"

#include <filesystem>
#include <map>
#include <mutex>

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

bool LoadLocked(Texts& store, const std::string& path) {
    store.loaded = true;
    store.byId.clear();
    if (!store.registered.empty()) {
        QResource::unregisterResource(QString::fromStdString(store.registered));
        store.registered.clear();
    }
    if (!QResource::registerResource(QString::fromStdString(path)))
        return false;
    store.registered = path;
    QFile file(kTextsPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    store.byId = ParseTexts(file.readAll());
    return true;
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
    Texts& store = Store();
    std::lock_guard lock(store.mutex);
    return LoadLocked(store, path.empty() ? DefaultResourceBundlePath() : path);
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
    std::lock_guard lock(store.mutex);
    if (!store.loaded)
        LoadLocked(store, DefaultResourceBundlePath());
    auto it = store.byId.find(id);
    return it == store.byId.end() ? std::string() : it->second;
}
