#pragma once
// The OK / Cancel (/ Apply) row of the console's dialogs, labelled with the
// console's own texts. Cancel (and Escape) rejects the dialog; what OK and
// Apply do is the dialog's to connect.
class QDialog;
class QDialogButtonBox;

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, bool withApply = false);
