#pragma once

namespace tandrel {

// Sets a variable of the process environment, read by the libraries the
// process loaded (SDL reads its window placement there); one file per platform.
void setEnvironment(const char* name, const char* value);

} // namespace tandrel
