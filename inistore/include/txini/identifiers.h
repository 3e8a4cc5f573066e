#pragma once

// The library's registered identities, kept as published so that late-binding clients and
// stored references keep working.

namespace txini {

inline constexpr char kTypeLibraryName[] = "txIni";
inline constexpr int kTypeLibraryMajorVersion = 1;
inline constexpr int kTypeLibraryMinorVersion = 0;

inline constexpr char kClsIniClassId[] = "{29873F4D-1061-4E4D-95B1-2148BFAC4C20}";
inline constexpr char kClsIniInterfaceId[] = "{FAE61C3B-1089-47E6-935F-64D2A9D3D287}";
// clsFileIni is private to the library: it has an interface identifier and no class identifier.
inline constexpr char kClsFileIniInterfaceId[] = "{EA203C42-3035-4782-BD62-7D867F2B1A76}";

} // namespace txini
