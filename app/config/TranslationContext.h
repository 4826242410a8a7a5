#pragma once

// Marks a class whose texts are all translated through a helper with a fixed
// context, such as uninstallText() ("Uninstall"), instead of its own tr().
// It expands to nothing; the translations' lupdate target reads it as the
// class's context, so texts passed to the helper land in the right context
// of every .ts file. A class carrying it calls no tr() of its own.
#define OSTREL_TRANSLATION_CONTEXT(context)
