#pragma once
// CPropSheetMail: the mail settings sheet. It edits a copy of the mail
// settings on four pages (originator, recipients, error kinds, schedule) and
// takes each page's values back when it closes with OK; the view then saves
// them and restarts the report schedule. It passes the recipient page's
// "send now" on to the view, with the originator the page shows as applied.
// Made and run modally by the view (its parent), on the UI thread.
#include "mail/MailSetInfo.h"
#include "platform/Clock.h"
#include "platform/MsgWnd.h"
#include "ui/PropSheet.h"

class CPropPageMailError;
class CPropPageMailOriginator;
class CPropPageMailPeriodical;
class CPropPageMailRecipient;

class CPropSheetMail : public TMsgWnd<CPropSheet> {
public:
    // view: the parent, which handles WM_MAIL_SEND_NOW (may be null).
    CPropSheetMail(QWidget* view, const IClock& clock);

    // The sheet's own settings: filled before DoModal, read after OK.
    CMailSetInfo& Settings() { return m_settings; }

    // Makes the pages from the settings (once), runs the sheet, and on OK
    // copies the pages' values back: PROPSHEET_OK or PROPSHEET_CANCEL.
    int DoModal();
    // The pages from the settings, as DoModal makes them.
    void BuildPages();
    // Every page's record into the settings (what OK does after applying).
    void TakePages();

    CPropPageMailOriginator* OriginatorPage() const { return m_originator; }
    CPropPageMailRecipient* RecipientPage() const { return m_recipient; }
    CPropPageMailError* ErrorPage() const { return m_error; }
    CPropPageMailPeriodical* PeriodicalPage() const { return m_periodical; }

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

private:
    QWidget* m_view;
    const IClock& m_clock;
    CMailSetInfo m_settings;
    CPropPageMailOriginator* m_originator = nullptr;
    CPropPageMailRecipient* m_recipient = nullptr;
    CPropPageMailError* m_error = nullptr;
    CPropPageMailPeriodical* m_periodical = nullptr;
};
