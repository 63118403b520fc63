#pragma once
// The console's two standard boxes: the refusal of an entry that failed its
// check (application title, stop icon) and the Yes/No question before a
// deletion (caption text 10000, question icon, No as the default). Both are
// modal over parent.
#include <string>

class QWidget;

void ShowStopMessage(QWidget* parent, const std::string& text);
// True when the operator answers Yes to text number questionId.
bool ConfirmDelete(QWidget* parent, int questionId);
