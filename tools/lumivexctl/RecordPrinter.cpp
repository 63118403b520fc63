#include "RecordPrinter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "comm/ProjectorInfo.h"

namespace {

// One printed field: its name, and its text or integer value.
struct Field {
    const char* name;
    std::string text;
    long long number;
    bool isNumber;
};

std::vector<Field> Fields(const CProjectorInfo& r) {
    auto text = [](const char* n, const std::string& v) { return Field{n, v, 0, false}; };
    auto num = [](const char* n, long long v) { return Field{n, {}, v, true}; };
    return {
        text("name", r.name), text("ipAddress", r.ipAddress), text("macAddress", r.macAddress),
        num("status", r.status), num("power", r.power), text("model", r.model), num("lampState", r.lampState),
        num("lampHours", r.lampHours), num("lampLife", r.lampLife), num("input", r.input),
        text("inputSignal", r.inputSignal), text("serialNumber", r.serialNumber), text("lamp1Time", r.lamp1Time),
        text("lamp2Time", r.lamp2Time), text("ttavText", r.ttavText), num("busy", r.busy.load()),
        num("rememberCredentials", r.rememberCredentials), text("userName", r.userName),
        num("lampMinutes", r.lampMinutes),
    };
}

std::vector<std::pair<const char*, std::string>> DisplayTexts(const CProjectorInfo& r) {
    return {{"statusText", r.StatusText()}, {"powerText", r.PowerText()}, {"lampText", r.LampText()},
            {"inputText", r.InputText()},   {"hoursText", r.HoursText()}, {"lifeText", r.LifeText()}};
}

}  // namespace

std::string RecordAsText(const CProjectorInfo& record) {
    std::string out;
    for (const Field& f : Fields(record))
        out += std::string(f.name) + ": " + (f.isNumber ? std::to_string(f.number) : f.text) + "\n";
    for (const auto& [name, value] : DisplayTexts(record))
        out += std::string(name) + ": " + value + "\n";
    return out;
}

std::string RecordAsJson(const CProjectorInfo& record) {
    QJsonObject object;
    for (const Field& f : Fields(record)) {
        if (f.isNumber)
            object.insert(f.name, static_cast<qint64>(f.number));
        else
            object.insert(f.name, QString::fromStdString(f.text));
    }
    for (const auto& [name, value] : DisplayTexts(record))
        object.insert(name, QString::fromStdString(value));
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n";
}
