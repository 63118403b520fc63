#pragma once
// Numbers shared by the settings and persistence subsystem.
#include <cstddef>

// Passwords of this many bytes or more are not stored (the stored form keeps
// at most 1023 bytes of password).
constexpr std::size_t MAX_PASSWORD_BYTES = 1024;

// A window placement value: eleven little-endian int32 fields.
constexpr int PLACEMENT_SIZE = 44;
constexpr int PLACEMENT_WINDOW = 0;      // "WindowPos"
constexpr int PLACEMENT_CONTROLLER = 1;  // "ControllerPos"
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;

// The section index of the All group; named groups count from 0.
constexpr int ALL_GROUP_INDEX = -1;

// Number of mail recipients ("MailToAddress0" .. "MailToAddress4").
constexpr int MAIL_RECIPIENTS = 5;
