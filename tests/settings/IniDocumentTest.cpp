#include "settings/IniDocument.h"

#include <random>
#include <string>
#include <vector>

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Value = CIniDocument::Value;

// Every section, name and value of a document, to compare two readings.
std::vector<std::string> Contents(const CIniDocument& document) {
    std::vector<std::string> lines;
    for (const std::string& section : document.SectionNames())
        for (const std::string& name : document.ValueNames(section)) {
            const Value* value = document.Find(section, name);
            lines.push_back(section + "/" + name + (value->kind == CIniDocument::Kind::Bytes ? " bytes " : " text ") +
                            value->bytes);
        }
    return lines;
}

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes;
}

// Values that stress the escaping: quotes, list and comment characters,
// spaces at the ends, typed-looking texts, control characters followed by
// hex digits, non-ASCII text.
std::vector<Value> AwkwardValues() {
    return {CIniDocument::Text(""),
            CIniDocument::Text(" leading"),
            CIniDocument::Text("trailing "),
            CIniDocument::Text("a,b;c=d"),
            CIniDocument::Text("@ByteArray(not bytes)"),
            CIniDocument::Text("@@twice"),
            CIniDocument::Text("quote \" and back\\slash"),
            CIniDocument::Text(std::string("\t\n\r\a\b\f\v\0" "0f\x01" "a\x1f" "7", 14)),
            CIniDocument::Text("日本語 \x7f"),
            CIniDocument::Text("line 1\nline 2, 会議室"),
            CIniDocument::Bytes(""),
            CIniDocument::Bytes(AllBytes()),
            CIniDocument::Bytes(std::string("\0" "0\xff" "f,;=) (\\\"", 12)),
            CIniDocument::Bytes(" spaced ")};
}

std::string Pick(std::mt19937& random, const std::vector<std::string>& pieces, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pieces[random() % pieces.size()];
    return text;
}

}  // namespace

TEST(IniDocument, WhatItWritesReadsBackAlikeThroughItselfAndThroughQSettings) {
    CIniDocument written;
    std::vector<Value> values = AwkwardValues();
    for (std::size_t i = 0; i < values.size(); ++i)
        written.Set(i % 2 ? "Settings" : "All", "Value" + std::to_string(i), values[i]);
    written.Set("Settings", "Value1", CIniDocument::Text("replaced"));
    std::string data = written.Serialize();

    CIniDocument parsed;
    ASSERT_TRUE(parsed.Parse(data)) << data;
    EXPECT_EQ(Contents(parsed), Contents(written));
    EXPECT_EQ(parsed.Serialize(), data);
    CIniDocument throughQSettings;
    EXPECT_EQ(throughQSettings.ParseLeniently(data), CIniDocument::Reading::Clean);
    EXPECT_EQ(Contents(throughQSettings), Contents(written));
}

TEST(IniDocument, NamesThatNeedEscapingReachQSettingsIntact) {
    CIniDocument written;
    written.Set("General", "a b", CIniDocument::Text("1"));
    written.Set("Gruppe ü", "名前", CIniDocument::Text("2"));
    written.Set("", "TopLevel", CIniDocument::Text("3"));
    CIniDocument parsed;
    std::string data = written.Serialize();
    EXPECT_FALSE(parsed.Parse(data));  // not the plain form: QSettings reads it
    EXPECT_EQ(parsed.ParseLeniently(data), CIniDocument::Reading::Clean);
    EXPECT_EQ(Contents(parsed), Contents(written));
    ASSERT_NE(parsed.Find("", "TopLevel"), nullptr);
    EXPECT_EQ(parsed.Find("", "TopLevel")->bytes, "3");
}

TEST(IniDocument, FileWrittenByQSettingsIsReadWithoutQSettings) {
    QTemporaryDir dir;
    QString path = dir.filePath("written.conf");
    std::vector<Value> values = AwkwardValues();
    {
        QSettings writer(path, QSettings::IniFormat);
        for (std::size_t i = 0; i < values.size(); ++i) {
            QString key = QStringLiteral("Section%1/Value%2").arg(i % 3).arg(i);
            const std::string& bytes = values[i].bytes;
            if (values[i].kind == CIniDocument::Kind::Bytes)
                writer.setValue(key, QByteArray(bytes.data(), qsizetype(bytes.size())));
            else
                writer.setValue(key, QString::fromStdString(bytes));
        }
        writer.setValue("Settings/Count", 42);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::string data = file.readAll().toStdString();
    CIniDocument parsed, throughQSettings;
    ASSERT_TRUE(parsed.Parse(data)) << data;
    ASSERT_EQ(throughQSettings.ParseLeniently(data), CIniDocument::Reading::Clean);
    EXPECT_EQ(Contents(parsed), Contents(throughQSettings));
    EXPECT_EQ(parsed.Find("Settings", "Count")->bytes, "42");
}

TEST(IniDocument, WhateverItAcceptsItReadsAsQSettingsDoes) {
    // Random lines of the characters that matter to the format: the plain
    // reader must either refuse a file or read it exactly as QSettings does.
    const std::vector<std::string> pieces = {"a", "B", "1", "f", "7", " ", "\t", "\"", ",", ";", "=", "@", "@@",
                                             "@ByteArray(", "@String(", ")", "\\", "\\x", "\\0", "\\n", "\\q", "\xc3\xa9", "\xff",
                                             "\r", "[", "]", "%", "#", "/"};
    std::mt19937 random(20240611);
    int accepted = 0;
    for (int round = 0; round < 5000; ++round) {
        bool oddSection = random() % 8 == 0;
        std::string data = "[" + (oddSection ? Pick(random, {"a b", "General", "x]", "%41"}, 1) : "S") + "]\n";
        for (int line = 0; line < 3; ++line) {
            bool oddName = random() % 8 == 0;
            data += (oddName ? Pick(random, {"k k", "#k", "%41", " k", "k0"}, 1) : "k" + std::to_string(line)) + "=" +
                    Pick(random, pieces, int(random() % 6)) + "\n";
        }
        CIniDocument plain, throughQSettings;
        if (!plain.Parse(data))
            continue;
        ++accepted;
        throughQSettings.ParseLeniently(data);
        ASSERT_EQ(Contents(plain), Contents(throughQSettings)) << data;
    }
    EXPECT_GT(accepted, 100);  // the comparison did run
}

TEST(IniDocument, SetTellsWhetherAnythingChanged) {
    CIniDocument document;
    EXPECT_TRUE(document.Set("S", "A", CIniDocument::Text("1")));
    EXPECT_FALSE(document.Set("S", "A", CIniDocument::Text("1")));
    EXPECT_TRUE(document.Set("S", "A", CIniDocument::Bytes("1")));
    EXPECT_FALSE(document.RemoveSection("T"));
    EXPECT_TRUE(document.RemoveSection("S"));
    EXPECT_EQ(document.Find("S", "A"), nullptr);
    EXPECT_EQ(document.Serialize(), "");
}

TEST(IniDocument, TextThatIsNotUtf8IsStoredAsQSettingsWouldStoreIt) {
    EXPECT_EQ(CIniDocument::Text("ok \xe6\x97\xa5").bytes, "ok \xe6\x97\xa5");
    EXPECT_EQ(CIniDocument::Text("bad \xff").bytes, "bad \xef\xbf\xbd");
}
