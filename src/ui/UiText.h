#pragma once
// Numbered texts at the widget boundary: the resource text as a QString, and
// the accessible name of a label or menu text (without the accelerator
// column after a tab, the "(&X)" after a Japanese label and any other "&").
#include <QString>

QString UiText(int id);
QString PlainLabel(QString text);
