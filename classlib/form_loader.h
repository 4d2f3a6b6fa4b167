#pragma once
// Builds a form's components from its layout tree: creates each component of a known class
// with the form as owner, sets its properties and binds its events to the form's handlers.
#include "forms.h"
#include "form_reader.h"

namespace classlib {

// A failure while a property is set raises EReadError "Error reading <component>.<property>:
// <first message>".
void LoadForm(TForm& form, const form::Object& layout, const THandlerTable& handlers);

} // namespace classlib
