#pragma once
// The help contexts the windows carry, each with the page and anchor that explain it and the
// short text "What's this?" shows; and the pages of the help collection.

#include <span>

namespace kestrund {

struct THelpTopic {
    int Context;
    const char* Page;   // file name in the help collection
    const char* Anchor; // <a name="..."> on that page
    const char* Text;   // one or two sentences
};

struct THelpPage {
    const char* File;
    const char* Title;
};

// Sorted by context.
std::span<const THelpTopic> HelpTopics();
// Nothing for a context no window carries.
const THelpTopic* FindHelpTopic(int context);
// The contents page first.
std::span<const THelpPage> HelpPages();

} // namespace kestrund
