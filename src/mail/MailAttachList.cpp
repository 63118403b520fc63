#include "mail/MailAttachList.h"

#include "mail/MIME.h"

namespace {

bool EndsWithCrlf(const std::string& text) {
    return text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

void AppendTextPart(std::string& out, const CMailAttachObject& item, int japanese) {
    out += japanese ? "Content-Type: text/plain; charset=\"iso-2022-jp\"" : "Content-Type: text/plain; charset=\"us-ascii\"";
    out += "\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";
    if (japanese) {
        CMIME mime;
        out += mime.EncodeText(item.GetContent(), false);
    } else {
        out += item.GetContent();
    }
}

void AppendCsvPart(std::string& out, const CMailAttachObject& item) {
    // The name is ours (a time stamp), but it still must not end the header line.
    const std::string name = CMIME::OneLine(item.FileName());
    out += "Content-Type: application/octet-stream; name=\"" + name + "\"\r\n";
    out += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    out += item.GetContent();
}

}  // namespace

CMailAttachList::CMailAttachList() = default;

CMailAttachList::~CMailAttachList() = default;

void CMailAttachList::Add(std::unique_ptr<CMailAttachObject> attachment) {
    if (attachment)
        m_items.push_back(std::move(attachment));
}

void CMailAttachList::RemoveAll() { m_items.clear(); }

void CMailAttachList::CopyFrom(const CMailAttachList& other) {
    if (this == &other)
        return;
    m_items.clear();
    for (const auto& item : other.m_items)
        Add(CMailAttachObject::CopyOf(*item));
}

std::string CMailAttachList::RenderParts(const std::string& boundary, int japanese) const {
    const std::string delimiter = "--" + boundary + "\r\n";
    std::string out;
    for (const auto& item : m_items) {
        if (item->Kind() == ATTACH_KIND_TEXT) {
            out += delimiter;
            AppendTextPart(out, *item, japanese);
        } else if (item->Kind() == ATTACH_KIND_CSV) {
            out += delimiter;
            AppendCsvPart(out, *item);
        }
        if (!EndsWithCrlf(out))
            out += "\r\n";
    }
    if (!EndsWithCrlf(out))
        out += "\r\n";
    return out + "--" + boundary + "--\r\n";
}
