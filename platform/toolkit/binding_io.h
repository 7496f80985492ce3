// Reading and writing a bound variable through its Binding. Every access is
// a memcpy of the declared width, so the variable may sit anywhere, packed
// record fields included.
#ifndef WEVO_PLATFORM_TOOLKIT_BINDING_IO_H_
#define WEVO_PLATFORM_TOOLKIT_BINDING_IO_H_

#include "wevo/value.h"
#include "wevo/window_decl.h"

namespace wevo::toolkit {

// Text comes back with its trailing blanks removed; numbers as numbers. An
// unbound binding reads as an empty value.
Value readBinding(const Binding& b);
// Text is cut to the width and blank-padded; numbers are converted (a text
// value is parsed as Value::num does) and cut to the variable's size.
void writeBinding(const Binding& b, const Value& v);
// Whether the variable holds the value: numbers compare as numbers, text
// compares ignoring trailing blanks.
bool bindingEquals(const Binding& b, const Value& v);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_BINDING_IO_H_
