#pragma once
// CMailAttachObject: one attachment of a mail, sent as a 7-bit text part.
// Owned by a CMailAttachList; CMailAttachCsv derives from it for the base64
// CSV report. A copy is always made as an object of the source's kind.
#include <memory>
#include <string>

constexpr int ATTACH_KIND_TEXT = 0;
constexpr int ATTACH_KIND_CSV = 1;

class CMailAttachObject {
public:
    CMailAttachObject();
    CMailAttachObject(const CMailAttachObject&) = delete;
    CMailAttachObject& operator=(const CMailAttachObject&) = delete;
    virtual ~CMailAttachObject();

    CMailAttachObject& Assign(const CMailAttachObject& other);
    // Appends other's content bytes; nothing happens when they are empty.
    CMailAttachObject& Append(const CMailAttachObject& other);
    // Replaces the content; a length of 0 or less leaves it empty.
    void SetContent(const char* bytes, int length);
    void SetContent(const std::string& bytes);
    // What the part carries: the bytes as they are (text kind) or their base64 lines.
    virtual std::string GetContent() const;
    virtual void ResetKind();
    void CopyFrom(const CMailAttachObject& other);

    // A new object of the source's class; null for an unknown kind.
    static std::unique_ptr<CMailAttachObject> CopyOf(const CMailAttachObject& source);

    int Kind() const { return m_kind; }
    const std::string& FileName() const { return m_fileName; }
    void SetFileName(const std::string& name) { m_fileName = name; }
    const std::string& Content() const { return m_content; }

protected:
    std::string m_fileName;
    std::string m_content;
    int m_kind = ATTACH_KIND_TEXT;
};
