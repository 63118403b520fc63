#pragma once
// The stored form of one projector record, the bytes of one "Projector<m>"
// value: name, address, MAC, status, power, model, lamp state, hours, life,
// input, signal, serial, the remember flag and, only when it is set, the user
// name, the encrypted password and its wrapped key. Ints are little-endian
// int32s, texts and blobs counted. Used by the groups to save and load the
// list.
#include "comm/ProjectorInfo.h"
#include "settings/Binary.h"

// Appends record's stored form to buffer, encrypting the password with the
// user's key when the login is kept.
void SaveTo(const CProjectorInfo& record, CBinary& buffer);

// Resets record and reads the stored form in buffer into it: 0, or -1 (the
// record left reset) when the bytes end too soon. Polled values are read
// past and not kept; a password that does not decrypt loads empty.
int LoadFrom(CProjectorInfo& record, const CBinary& buffer);
