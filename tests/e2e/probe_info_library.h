#pragma once
// The information library of the library-search test: besides answering as
// the stand-in vr380info.dll does, at each question it asks for two libraries
// by bare name from inside the program's process, one that only the current
// folder holds and one that lies beside the program, and keeps what loaded.

inline constexpr const char* kProbeInfoLibrary = "vr38probeinfo.dll";
inline constexpr const char* kPlantedLibrary = "vr38planted.dll";
inline constexpr const char* kBesideLibrary = "vr38beside.dll";
