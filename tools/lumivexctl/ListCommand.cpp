// lumivexctl list: the stored projectors in the All group's order and the
// named groups in tab order, as text or as one JSON object.
#include <cstdio>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlProfile.h"
#include "comm/ProjectorInfo.h"

namespace {

const char* const kUsage = "list [--json]";
constexpr CtlOption kOptions[] = {{"--json", nullptr, "print one JSON object"}};

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string AsJson(const GroupList& groups) {
    QJsonArray projectors;
    const CGroupItem& all = *groups.front();
    for (int i = 0; i < all.GetCount(); ++i) {
        const CProjectorInfo& r = *all.GetAt(i);
        projectors.append(QJsonObject{{"name", Q(r.name)},
                                      {"ipAddress", Q(r.ipAddress)},
                                      {"macAddress", Q(r.macAddress)},
                                      {"rememberCredentials", r.rememberCredentials},
                                      {"userName", Q(r.userName)}});
    }
    QJsonArray named;
    for (std::size_t g = 1; g < groups.size(); ++g) {
        QJsonArray members;
        for (int i = 0; i < groups[g]->GetCount(); ++i)
            members.append(Q(groups[g]->GetAt(i)->ipAddress));
        named.append(QJsonObject{{"name", Q(groups[g]->Name())}, {"members", members}});
    }
    QJsonObject object{{"projectors", projectors}, {"groups", named}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

std::string OrDash(const std::string& text) { return text.empty() ? "-" : text; }

std::string AsText(const GroupList& groups) {
    const CGroupItem& all = *groups.front();
    std::string out = "projectors: " + std::to_string(all.GetCount()) + "\n";
    for (int i = 0; i < all.GetCount(); ++i) {
        const CProjectorInfo& r = *all.GetAt(i);
        std::string login = r.rememberCredentials ? "login " + OrDash(r.userName) : "no login";
        out += "  " + r.ipAddress + "\t" + OrDash(r.macAddress) + "\t" + OrDash(r.name) + "\t" + login + "\n";
    }
    out += "groups: " + std::to_string(groups.size() - 1) + "\n";
    for (std::size_t g = 1; g < groups.size(); ++g) {
        out += "  " + groups[g]->Name() + ":";
        for (int i = 0; i < groups[g]->GetCount(); ++i)
            out += " " + groups[g]->GetAt(i)->ipAddress;
        out += "\n";
    }
    return out;
}

int RunListCommand(CtlContext& context, const CCtlOptions& options) {
    if (!options.Positional().empty())
        return UsageError("list takes no arguments", kUsage);
    GroupList groups;
    if (int rc = LoadCtlGroups(context, groups, true); rc != EXIT_OK)
        return rc;
    std::string text = options.Flag("--json") ? AsJson(groups) : AsText(groups);
    std::fputs(text.c_str(), stdout);
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kListCommand{
    "list", RunListCommand, kUsage,
    "The stored projectors in the All group's order and the named groups in tab order.", kOptions};
