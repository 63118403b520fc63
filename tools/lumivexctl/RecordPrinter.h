#pragma once
// Prints a projector record for lumivexctl: every field but the password in
// declaration order as "field: value", or one JSON object.
#include <string>

class CProjectorInfo;

std::string RecordAsText(const CProjectorInfo& record);
std::string RecordAsJson(const CProjectorInfo& record);
