#pragma once
// Numbered texts at the widget boundary: the resource text as a QString, and
// the accessible names made from the texts beside a control.
#include <QString>

QString UiText(int id);
// A field label's text as the accessible name of the field beside it,
// without the closing colon ("ユーザー名：" names its field "ユーザー名").
QString LabelName(QString label);
// A label or menu text without the accelerator column after a tab, the
// "(&X)" after a Japanese label and any other "&".
QString PlainLabel(QString text);
