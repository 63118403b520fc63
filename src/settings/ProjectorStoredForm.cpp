#include "settings/ProjectorStoredForm.h"

#include "settings/Crypt.h"

void SaveTo(const CProjectorInfo& record, CBinary& buffer) {
    buffer.AppendText(record.name);
    buffer.AppendText(record.ipAddress);
    buffer.AppendText(record.macAddress);
    buffer.AppendInt(record.status);
    buffer.AppendInt(record.power);
    buffer.AppendText(record.model);
    buffer.AppendInt(record.lampState);
    buffer.AppendInt(record.lampHours);
    buffer.AppendInt(record.lampLife);
    buffer.AppendInt(record.input);
    buffer.AppendText(record.inputSignal);
    buffer.AppendText(record.serialNumber);
    buffer.AppendInt(record.rememberCredentials);
    if (record.rememberCredentials == 0)
        return;
    buffer.AppendText(record.userName);
    CBinary key;
    CBinary cipher = CCrypt().Encrypt(record.password, key);
    buffer.AppendBlock(cipher);
    buffer.AppendBlock(key);
}

int LoadFrom(CProjectorInfo& record, const CBinary& buffer) {
    record.Reset();
    // A loaded record shows nothing polled until its first poll.
    CProjectorInfo loaded;
    int position = 0;
    loaded.name = buffer.ReadText(position);
    loaded.ipAddress = buffer.ReadText(position);
    loaded.macAddress = buffer.ReadText(position);
    buffer.ReadInt(position);  // status
    loaded.power = buffer.ReadInt(position);
    buffer.ReadText(position);  // model
    for (int skipped = 0; skipped < 4; ++skipped)
        buffer.ReadInt(position);  // lamp state, hours, life, input
    buffer.ReadText(position);     // input signal
    buffer.ReadText(position);     // serial number
    loaded.rememberCredentials = buffer.ReadInt(position);
    CBinary cipher, key;
    if (loaded.rememberCredentials != 0) {
        loaded.userName = buffer.ReadText(position);
        cipher = buffer.ReadBlock(position);
        key = buffer.ReadBlock(position);
    }
    if (position < 0)
        return -1;
    if (!cipher.IsEmpty())
        loaded.password = CCrypt().Decrypt(cipher, key);
    record.CopyFrom(loaded);
    return 0;
}
