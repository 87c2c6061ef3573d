#pragma once
// Port names as the port choice keeps them. ALSA ends a port's name with the client:port numbers the
// port got when its device was plugged in ("QZ USB MIDI 24:0"); they change when devices are plugged
// in another order. So the stored name leaves them out ("QZ USB MIDI"), and a further port of the same
// name is told apart by its place among them, counted in list order ("QZ USB MIDI #2").

#include <string>
#include <vector>

// The name without a trailing " <client>:<port>".
std::string StablePortName(const std::string& name);

// What the port choice stores for the port `name` of the current list `names`.
std::string StoredPortName(const std::string& name, const std::vector<std::string>& names);

// The index in names of the port a stored name stands for, or -1: the port of exactly that name (names
// stored with their numbers still bind while the numbers hold), else the port at the stored place
// among those whose name without numbers is the stored one.
int FindStoredPort(const std::string& stored, const std::vector<std::string>& names);

// How the setup dialog shows a chosen port that is missing or busy: "<name> (not connected)".
std::string NotConnectedText(const std::string& stored);
// The stored name inside such a text; the text itself when it is none.
std::string FromNotConnectedText(const std::string& text);
