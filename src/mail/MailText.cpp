#include "mail/MailText.h"

#include "mail/MailDefs.h"
#include "platform/ResourceText.h"

std::string FormatText(const std::string& format, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (next != args.end())
                    out += *next++;
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::string FormatResourceText(int id, std::initializer_list<std::string> args) {
    return FormatText(ResourceText(id), args);
}

bool JapaneseTexts() { return ResourceText(TEXT_LANGUAGE_MARKER) == "J"; }
