#include "Unit1.h"

// Loading and saving the window's choices (settings file): not yet kept.
void TForm1::FormShow() { UpdateControlStates(); }

void TForm1::FormClose() {}
