// The toolkit's output: the expander's messages in English.
#pragma once
#include <string>

// The expander speaks the installer's German; the toolkit says the same in English.
std::string InEnglish(std::string message);
