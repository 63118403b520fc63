#pragma once
// Filling the numbered mail texts. The texts come from the external resource
// bundle, so they are never handed to printf: only "%s" (in turn) and "%%"
// are replaced, any other "%" stays as written, and a missing argument reads
// as empty.
#include <initializer_list>
#include <string>

std::string FormatText(const std::string& format, std::initializer_list<std::string> args = {});
std::string FormatResourceText(int id, std::initializer_list<std::string> args = {});

// True when the bundle's language marker (text 258) reads "J": mail bodies go
// out in ISO-2022-JP and the CSV attachment in the Japanese code page.
bool JapaneseTexts();
