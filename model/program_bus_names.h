// Where the running program answers on the session bus, for the program and
// for ms1ctl alike. The bus name is also the program's application id: its
// desktop entry and metainfo carry it.
#pragma once

namespace ms1 {

inline constexpr const char* kBusName = "io.ms1config.Ms1Config";
inline constexpr const char* kBusPath = "/io/ms1config/Ms1Config";
inline constexpr const char* kBusInterface = "io.ms1config.Ms1Config1";

}  // namespace ms1
