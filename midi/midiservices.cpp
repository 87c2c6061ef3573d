#include "midi/midiservices.h"

#include <cstdio>

void CMidiMessageBoxStderr::ShowMidiMessage(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
