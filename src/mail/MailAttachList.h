#pragma once
// CMailAttachList: the attachments of one mail, owned; renders them as the
// multipart section that follows the text part. Held by value by CMailObject
// and by the SMTP client that sends the mail.
#include <memory>
#include <string>
#include <vector>

#include "mail/MailAttachObject.h"

class CMailAttachList {
public:
    CMailAttachList();
    CMailAttachList(const CMailAttachList&) = delete;
    CMailAttachList& operator=(const CMailAttachList&) = delete;
    ~CMailAttachList();

    void Add(std::unique_ptr<CMailAttachObject> attachment);
    void RemoveAll();
    // Replaces the list by copies of other's attachments (each by its kind;
    // one of an unknown kind is left out).
    void CopyFrom(const CMailAttachList& other);

    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    const CMailAttachObject& At(int index) const { return *m_items[static_cast<size_t>(index)]; }

    // The attachment parts and the closing delimiter, for the given boundary.
    std::string RenderParts(const std::string& boundary, int japanese) const;

private:
    std::vector<std::unique_ptr<CMailAttachObject>> m_items;
};
