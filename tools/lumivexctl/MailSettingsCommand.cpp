// lumivexctl mail-settings: the stored mail settings and the next report time.
#include <cstdio>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "mail/MailSetInfo.h"
#include "settings/ProfileStore.h"

namespace {

const char* const kUsage = "mail-settings [--json]";
constexpr CtlOption kOptions[] = {{"--json", nullptr, "print one JSON object"}};
const char* const kErrorKinds[MAIL_ERROR_KIND_COUNT] = {"temperature", "fan", "filter-cover",
                                                        "lamp", "communication", "connection"};
const char* const kWeekdays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string KindName(int kind) {
    switch (kind) {
    case PERIODICAL_KIND_WEEKDAYS: return "weekdays";
    case PERIODICAL_KIND_WEEKLY: return "weekly";
    case PERIODICAL_KIND_MONTHLY: return "monthly";
    default: return "unknown (" + std::to_string(kind) + ")";
    }
}

std::string WeekdayName(int day) { return day >= 0 && day < 7 ? kWeekdays[day] : "day " + std::to_string(day); }

std::string TimeOfDay(const CMailPeriodicalInfo& p) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", p.hour, p.minute);
    return text;
}

std::string ScheduleText(const CMailPeriodicalInfo& p) {
    std::string text = KindName(p.kind);
    if (p.kind == PERIODICAL_KIND_WEEKDAYS) {
        std::string days;
        for (int d = 0; d < 7; ++d)
            if (p.weekdays[static_cast<size_t>(d)])
                days += (days.empty() ? "" : ",") + WeekdayName(d).substr(0, 3);
        text += " " + (days.empty() ? std::string("(none)") : days);
    } else if (p.kind == PERIODICAL_KIND_WEEKLY) {
        text += " " + WeekdayName(p.weeklyDay);
    } else if (p.kind == PERIODICAL_KIND_MONTHLY) {
        text += " day " + std::to_string(p.monthlyDay);
    }
    return text + " at " + TimeOfDay(p);
}

std::string IsoTime(const CDateTime& when) {
    return when == CDateTime::Never() ? std::string() : when.Format("%Y-%m-%dT%H:%M:%S");
}

void PrintJson(const CMailSetInfo& s, const CDateTime& next) {
    QJsonObject originator{{"server", Q(s.originator.server)},
                           {"senderAddress", Q(s.originator.senderAddress)},
                           {"senderName", Q(s.originator.senderName)},
                           {"senderInformation", Q(s.originator.senderInfo)}};
    QJsonObject errors;
    for (int i = 0; i < MAIL_ERROR_KIND_COUNT; ++i)
        errors[kErrorKinds[i]] = s.error.flags[static_cast<size_t>(i)] != 0;
    QJsonArray recipients;
    for (const CMailRecipient& r : s.recipients.entries)
        recipients.append(QJsonObject{{"address", Q(r.address)},
                                      {"errorMail", r.errorMail != 0},
                                      {"periodicReport", r.periodicReport != 0}});
    const CMailPeriodicalInfo& p = s.periodical;
    QJsonArray weekdays;
    for (int d = 0; d < 7; ++d)
        if (p.weekdays[static_cast<size_t>(d)])
            weekdays.append(Q(WeekdayName(d)));
    QJsonObject schedule{{"kind", Q(KindName(p.kind))}, {"hour", p.hour},
                         {"minute", p.minute},           {"weekdays", weekdays},
                         {"weeklyDay", Q(WeekdayName(p.weeklyDay))}, {"monthlyDay", p.monthlyDay}};
    QJsonObject root{{"originator", originator}, {"errorMail", errors},       {"recipients", recipients},
                     {"schedule", schedule},     {"nextReport", Q(IsoTime(next))}};
    std::fputs(QJsonDocument(root).toJson(QJsonDocument::Indented).constData(), stdout);
}

void PrintText(const CMailSetInfo& s, const CDateTime& next) {
    std::printf("server: %s\n", s.originator.server.c_str());
    std::printf("sender address: %s\n", s.originator.senderAddress.c_str());
    std::printf("sender name: %s\n", s.originator.senderName.c_str());
    std::printf("sender information: %s\n", s.originator.senderInfo.c_str());
    std::string kinds;
    for (int i = 0; i < MAIL_ERROR_KIND_COUNT; ++i)
        if (s.error.flags[static_cast<size_t>(i)])
            kinds += (kinds.empty() ? "" : ",") + std::string(kErrorKinds[i]);
    std::printf("error mail for: %s\n", kinds.empty() ? "(none)" : kinds.c_str());
    for (int i = 0; i < MAIL_RECIPIENT_COUNT; ++i) {
        const CMailRecipient& r = s.recipients.entries[static_cast<size_t>(i)];
        std::printf("recipient %d: %s error=%d report=%d\n", i + 1, r.address.empty() ? "-" : r.address.c_str(),
                    r.errorMail ? 1 : 0, r.periodicReport ? 1 : 0);
    }
    std::printf("schedule: %s\n", ScheduleText(s.periodical).c_str());
    std::printf("next report: %s\n", CMailPeriodicalInfo::NextTimeText(next).c_str());
}

int RunMailSettingsCommand(CtlContext& context, const CCtlOptions& options) {
    if (!options.Positional().empty())
        return UsageError("mail-settings takes no positional arguments", kUsage);
    OpenProfile(context.profilePath);
    CMailSetInfo settings;
    settings.Load();
    CDateTime next = settings.periodical.NextTime();
    if (options.Flag("--json"))
        PrintJson(settings, next);
    else
        PrintText(settings, next);
    return EXIT_OK;
}

}  // namespace

const CtlCommandEntry kMailSettingsCommand{"mail-settings", RunMailSettingsCommand, kUsage,
                                           "The stored mail settings and the time of the next periodic report.",
                                           kOptions};
