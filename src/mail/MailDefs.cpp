#include "mail/MailDefs.h"

const char* MailResultText(int result) {
    switch (result) {
    case MAIL_RESULT_SENT: return "the mail was accepted by the server";
    case MAIL_RESULT_STOPPED: return "the send was stopped";
    case MAIL_RESULT_CONNECT_FAILED: return "the connection to the mail server failed";
    case MAIL_RESULT_HELLO_FAILED: return "the server refused HELO";
    case MAIL_RESULT_MAIL_FROM_FAILED: return "the server refused the sender";
    case MAIL_RESULT_RCPT_TO_FAILED: return "the server refused a recipient";
    case MAIL_RESULT_SEND_MAIL_FAILED: return "the server did not accept the message";
    default: return "unknown result";
    }
}
