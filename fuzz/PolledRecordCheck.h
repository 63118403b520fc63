#pragma once
// What any status poll, whatever the board answered, must leave in the
// working record: every code within its table. Shared by the two board
// targets.
class CProjectorInfo;

// A power-only poll rewrites power alone, so only power is checked then.
void CheckPolledRecord(const CProjectorInfo& record, bool powerOnly);
