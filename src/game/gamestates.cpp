#include "gamestates.h"

#include "zelto.h"

void RunGameStep() {
    // The screens of the states arrive with their pictures; until then every state shows the
    // cleared back buffer.
    if (!Status) return;
}
