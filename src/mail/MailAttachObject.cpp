#include "mail/MailAttachObject.h"

#include "mail/MailAttachCsv.h"

CMailAttachObject::CMailAttachObject() = default;

CMailAttachObject::~CMailAttachObject() = default;

CMailAttachObject& CMailAttachObject::Assign(const CMailAttachObject& other) {
    CopyFrom(other);
    return *this;
}

CMailAttachObject& CMailAttachObject::Append(const CMailAttachObject& other) {
    m_content += other.m_content;
    return *this;
}

void CMailAttachObject::SetContent(const char* bytes, int length) {
    m_content.clear();
    if (bytes && length > 0)
        m_content.assign(bytes, static_cast<size_t>(length));
}

void CMailAttachObject::SetContent(const std::string& bytes) { m_content = bytes; }

std::string CMailAttachObject::GetContent() const { return m_content; }

void CMailAttachObject::ResetKind() { m_kind = ATTACH_KIND_TEXT; }

void CMailAttachObject::CopyFrom(const CMailAttachObject& other) {
    if (this == &other)
        return;
    m_fileName = other.m_fileName;
    m_content = other.m_content;
    m_kind = other.m_kind;
}

std::unique_ptr<CMailAttachObject> CMailAttachObject::CopyOf(const CMailAttachObject& source) {
    std::unique_ptr<CMailAttachObject> copy;
    if (source.Kind() == ATTACH_KIND_TEXT)
        copy = std::make_unique<CMailAttachObject>();
    else if (source.Kind() == ATTACH_KIND_CSV)
        copy = std::make_unique<CMailAttachCsv>();
    if (copy)
        copy->CopyFrom(source);
    return copy;
}
