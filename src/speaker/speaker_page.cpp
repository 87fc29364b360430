// The loudspeaker page: Button7Click and the start-up calculation.

#include "app/unit1.h"

void TForm1::FormShow() {
    last.schemeKind = 0;
    last.speakerDone = 0;
}

void TForm1::Button7Click() {}
