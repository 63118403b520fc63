// lumivexctl report: one tracked refresh of the stored fleet, then the
// periodic report composed and sent exactly as the console's "send now" does
// (to --to ADDRESS) or as its schedule does (to every recipient with the
// periodic tick). Waits for the sending thread and prints its result.
#include <cstdio>

#include "CtlCommand.h"
#include "CtlCommandTable.h"
#include "CtlFleet.h"
#include "CtlMailHost.h"
#include "CtlProfile.h"
#include "comm/ProjectorInfo.h"
#include "mail/MailDefs.h"
#include "mail/MailNotifier.h"
#include "mail/MailObject.h"
#include "mail/MailSetInfo.h"
#include "mail/MailText.h"
#include "mail/MailWnd.h"
#include "platform/ResourceText.h"
#include "settings/Groups.h"
#include "settings/ProfileStore.h"

namespace {

const char* const kUsage = "report [--to ADDRESS] [--timeout SECONDS] [--ports LO-HI]";
constexpr CtlOption kOptions[] = {
    {"--to", "ADDRESS", "send to this mail address now, as the mail settings' send-now button does"},
    {"--timeout", "SECONDS", "give up after this long (default 180)"},
    kProfilePortsOption,
};
constexpr int kDefaultTimeoutSeconds = 180;
constexpr int kLongestTimeoutSeconds = 99999;
constexpr int kAllGroupText = 300;

int RunReportCommand(CtlContext& context, const CCtlOptions& options) {
    if (!options.Positional().empty())
        return UsageError("report takes no positional arguments", kUsage);
    int timeoutSeconds = kDefaultTimeoutSeconds;
    if (auto text = options.Value("--timeout");
        text && !ParseWholeNumber(*text, 1, kLongestTimeoutSeconds, timeoutSeconds))
        return UsageError("--timeout wants whole seconds from 1 to 99999", kUsage);
    std::optional<std::string> to = options.Value("--to");
    if (to && to->empty())
        return UsageError("--to needs an address", kUsage);

    if (int rc = OpenCtlProfile(context, true); rc != EXIT_OK)
        return rc;
    CtlEngineSettings engineSettings;
    if (int rc = ReadCtlPortRange(options, kUsage, engineSettings); rc != EXIT_OK)
        return rc;
    CMailSetInfo settings;
    settings.Load();
    GroupList groups;
    std::string error;
    if (LoadGroups(groups, ResourceText(kAllGroupText), &error) != 0)
        return Failure("cannot read the stored projector list: " + error);
    if (!CCtlFleet::Fits(groups.empty() ? 0 : groups[0]->GetCount(), error))
        return Failure(error);

    CCtlFleet fleet;
    engineSettings.ApplyTo(fleet.Engine());
    for (int n = 0; !groups.empty() && n < groups[0]->GetCount(); ++n)
        if (!fleet.AddStored(*groups[0]->GetAt(n)))
            return Failure("cannot start a session for " + groups[0]->GetAt(n)->ipAddress);
    // Boards that want a login not stored in the profile are skipped, not asked for.
    fleet.onPassword = [](CProjectorInfo*, const std::string&, std::string&, std::string&) { return false; };

    CCtlMailHost host(fleet, &groups);
    CMailWnd mailWnd(nullptr, JapaneseTexts() ? 1 : 0);
    CMailNotifier notifier;
    notifier.SetSettings(&settings);
    notifier.SetQueue(&mailWnd);
    notifier.SetHost(&host);
    fleet.onUpdateDone = [&notifier] { notifier.OnRefreshDone(); };
    bool done = false;
    int result = 0;
    mailWnd.SetDoneHandler([&](int sendResult) {
        result = sendResult;
        done = true;
    });

    if (to) {
        // What the recipient page's send-now button hands to the sheet, and the
        // sheet fills from the originator settings.
        CMailObject request;
        request.timeStamp = CDateTime::CurrentLocal();
        request.kind = MAIL_KIND_REPORT;
        request.recipients = {*to};
        request.server = settings.originator.server;
        request.senderName = settings.originator.senderName;
        request.senderAddress = settings.originator.senderAddress;
        request.senderInfo = settings.originator.senderInfo;
        notifier.OnSendReportNow(&request);
    } else {
        notifier.RequestScheduledReport();
    }

    bool composed = false;
    bool finished = fleet.RunUntil(
        [&] {
            if (!notifier.ReportPending())
                composed = true;
            // A mail without server, sender address or recipient is dropped
            // at the queue without a send.
            return done || (composed && mailWnd.QueueLength() == 0 && !mailWnd.IsSending());
        },
        timeoutSeconds * 1000);
    if (!finished) {
        mailWnd.StopThread();
        return Failure(CCtlFleet::Interrupted() ? "interrupted"
                       : composed          ? "the mail was not sent within the time limit"
                                           : "the projectors did not all report within the time limit");
    }
    if (!done)
        return Failure("the report was dropped: the mail settings lack a server, a sender address or a recipient");
    std::printf("%d %s\n", result, MailResultText(result));
    return result == MAIL_RESULT_SENT ? EXIT_OK : EXIT_FAILED;
}

}  // namespace

const CtlCommandEntry kReportCommand{
    "report", RunReportCommand, kUsage,
    "One tracked refresh of the stored projectors, then the periodic report composed and sent as the\n"
    "console sends it: to --to ADDRESS now, else to every recipient of the periodic report.",
    kOptions};
