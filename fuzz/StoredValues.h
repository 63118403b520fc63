#pragma once
// What a record's stored form keeps (identity, power and the login), compared
// between a record and the one read back from its stored form. Shared by the
// stored form and group targets.
class CProjectorInfo;

bool SameStoredValues(const CProjectorInfo& a, const CProjectorInfo& b);
