#pragma once
// The sections of the per-user settings, named here once for every layer that reads or writes them.

namespace QZP {

inline constexpr const char kSectionOption[] = "Option";               // program options and flags
inline constexpr const char kSectionWindow[] = "Window";               // frame and child window places
inline constexpr const char kSectionControlBar[] = "ControlBar";       // the tool bar's state
inline constexpr const char kSectionVersion[] = "Version";             // the version that wrote the file
inline constexpr const char kSectionRecentFiles[] = "Recent File List"; // the File menu's recent files
inline constexpr const char kSectionPatchList[] = "PatchListCtrl";     // the patch lists' column widths
inline constexpr const char kSectionMidiIn[] = "MIDIInConnection";     // the port choice
inline constexpr const char kSectionMidiOut[] = "MIDIOutConnection";
inline constexpr const char kSectionMidiThru[] = "MIDIThruConnection";
// The file dialogs' folder, file name and filter, per kind of file.
inline constexpr const char kSectionLibraryFiles[] = "QZL";
inline constexpr const char kSectionZklFiles[] = "ZKL";
inline constexpr const char kSectionQz3Files[] = "QZ3";
inline constexpr const char kSectionSmfFiles[] = "SMF";
inline constexpr const char kSectionSysExFiles[] = "SYX";

} // namespace QZP
