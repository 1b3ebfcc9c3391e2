#pragma once
// A link as the tests drive it: the scripted port at 4800 baud, the virtual clock, a
// progress recorder and scripted prompts, with the test's own messages as the language.

#include <string>

#include "instrument/link.h"
#include "support/language_fixture.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace pelvoro::testing {

struct ScriptedLink {
    // `texts`: a language file's text with a "[Language]" section.
    explicit ScriptedLink(const std::string& texts)
        : language(texts), port(clock), link(port, clock, progress, prompts) {
        port.setBaudRate(4800);
    }

    ScopedLanguage language;
    VirtualClock clock;
    ScriptedPort port;
    ProgressRecorder progress;
    ScriptedPrompts prompts;
    Link link;
};

}  // namespace pelvoro::testing
