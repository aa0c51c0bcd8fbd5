#include "Unit1.h"

// Browse: the folder picker is not built yet.
void TForm1::Button4Click() {}
