#include "app/string_instance.h"

template class std::basic_string<char>;
