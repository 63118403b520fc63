#pragma once
// Numbered user-interface texts from the external resource bundle
// (lumivex.rcc beside the executable). A missing bundle or number yields an
// empty text, never a failure; a bundle that cannot be used is named once on
// stderr, so that blank texts and dropped mails have a visible cause.
#include <string>

// Loads the bundle at path (empty: lumivex.rcc beside the running program),
// replacing any texts loaded before. False when the bundle cannot be read; the
// texts are then empty and stderr says (once per bundle) which file was
// looked for and why it gave no texts.
bool LoadResourceBundle(const std::string& path = {});

// Forgets the texts and releases the bundle (at program exit, so leak
// checkers see nothing held).
void UnloadResourceBundle();

// Text number id; the default bundle is loaded on first use if none was.
std::string ResourceText(int id);

// The path the default bundle is looked for at.
std::string DefaultResourceBundlePath();
