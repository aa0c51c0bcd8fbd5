#pragma once
#include <vector>

#include <com/sun/star/text/XText.hpp>

#include "WordState.h"

namespace wordengine {

// Puts the selection at the start of the body, on the first page, as a freshly
// opened document has it.
void SelectBodyStart(DocumentState& document);

// The header (or footer) text that the selection's page shows: the first-page one
// when its page style has a different first page, the left one on an even page
// when left and right differ. A page style without one gets it switched on,
// keeping the body where it was, as Word keeps the body at the top margin.
css::uno::Reference<css::text::XText> PageHeaderFooter(DocumentState& document, bool header);

// The same story in later sections that Word shows linked to this one (and
// the office imported as copies of it), each with a cursor at its start.
std::vector<StoryCursor> LinkedCopies(DocumentState& document, bool header);

// Empties a story: its text, its tables and the pictures, shapes and frames
// anchored in it.
void ClearStory(DocumentState& document, const css::uno::Reference<css::text::XText>& text);

} // namespace wordengine
