#pragma once
// Numbers of the mail subsystem: SMTP status codes and dialogue steps, the
// results of one send, window messages and timers, and the numbered texts the
// mails are made of.
#include "platform/MsgWnd.h"

// Status of an SMTP client operation (0 or one of the negative values).
constexpr int SMTP_OK = 0;
constexpr int SMTP_TIMEOUT = -1;
constexpr int SMTP_ADDR_IN_USE = -2;
constexpr int SMTP_IN_PROGRESS = -3;
constexpr int SMTP_INVALID_ADDRESS = -4;
constexpr int SMTP_AF_NOT_SUPPORTED = -5;
constexpr int SMTP_REFUSED = -6;  // refused, closed by the server, or a greeting other than 220
constexpr int SMTP_DEST_ADDR_REQUIRED = -7;
constexpr int SMTP_ALREADY_CONNECTED = -8;
constexpr int SMTP_NET_UNREACHABLE = -9;
constexpr int SMTP_WOULD_BLOCK = -10;
constexpr int SMTP_SYSTEM_FAILURE = -11;
constexpr int SMTP_FILE_EMPTY = -14;
constexpr int SMTP_NO_CODE = -16;
constexpr int SMTP_NOTHING_TO_SEND = -17;
constexpr int SMTP_UNEXPECTED_REPLY = -18;  // a code the step does not accept, or a reply that never ends
constexpr int SMTP_OTHER_FAILURE = -19;

// The step whose reply is awaited.
constexpr int SMTP_STEP_GREETING = 0;
constexpr int SMTP_STEP_HELO = 1;
constexpr int SMTP_STEP_MAIL_FROM = 2;
constexpr int SMTP_STEP_RCPT_TO = 3;
constexpr int SMTP_STEP_DATA = 4;
constexpr int SMTP_STEP_END_OF_DATA = 5;
constexpr int SMTP_STEP_RSET = 6;
constexpr int SMTP_STEP_QUIT = 7;

constexpr int SMTP_PORT = 25;
constexpr unsigned SMTP_REPLY_TIMEOUT_MS = 5000;
constexpr int SMTP_SEND_PIECE = 1024;
constexpr int SMTP_RECEIVE_BUFFER = 8192;
constexpr int SMTP_BODY_LINE_LIMIT = 996;

// Result of one send, carried by WM_MAIL_DONE.
constexpr int MAIL_RESULT_SENT = 0;
constexpr int MAIL_RESULT_STOPPED = 1;
constexpr int MAIL_RESULT_CONNECT_FAILED = -1;
constexpr int MAIL_RESULT_HELLO_FAILED = -2;
constexpr int MAIL_RESULT_MAIL_FROM_FAILED = -3;
constexpr int MAIL_RESULT_RCPT_TO_FAILED = -4;
constexpr int MAIL_RESULT_SEND_MAIL_FAILED = -5;

// The result's meaning in English, for command-line output ("the mail was accepted by the server").
const char* MailResultText(int result);

// Mail kinds.
constexpr int MAIL_KIND_ERROR = 0;
constexpr int MAIL_KIND_REPORT = 1;

// Messages.
constexpr unsigned WM_MAIL_SEND_NOW = WM_USER + 37;  // wParam = CMailObject*, sent to the sheet and the view
constexpr unsigned WM_MAIL_DONE = WM_USER + 256;     // wParam = result of the send
constexpr int MAIL_TIMER_ID = 128;
constexpr int MAIL_TIMER_MS = 1000;
constexpr int MAIL_STOP_LIMIT_MS = 10000;

// Numbered texts.
constexpr int TEXT_LANGUAGE_MARKER = 258;  // "J" on a Japanese bundle
constexpr int TEXT_NEXT_TIME_FORMAT = 259;
constexpr int TEXT_MAIL_OPENING = 20000;
constexpr int TEXT_MAIL_ERROR = 20001;           // %s: the status text
constexpr int TEXT_MAIL_ERROR_TO_PROJECTOR = 20002;
constexpr int TEXT_MAIL_PROJECTOR = 20003;       // %s name, %s address
constexpr int TEXT_MAIL_ORIGINATOR = 20004;
constexpr int TEXT_MAIL_SENDER_NAME = 20005;     // %s
constexpr int TEXT_MAIL_SENDER_ADDRESS = 20006;  // %s
constexpr int TEXT_MAIL_SENDER_INFO = 20007;     // %s
constexpr int TEXT_SUBJECT_ERROR = 20100;
constexpr int TEXT_SUBJECT_REPORT = 20101;
constexpr int TEXT_CSV_HEADING_ERROR = 21000;
constexpr int TEXT_CSV_HEADING_REPORT = 21001;
