#pragma once
// UiText: a numbered text as the widgets show it; LabelName: a field label's
// text as the accessible name of the field beside it.
#include <QString>

QString UiText(int id);
// Without the closing colon ("ユーザー名：" names its field "ユーザー名").
QString LabelName(QString label);
