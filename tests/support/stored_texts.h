// Stored texts that more than one test reads, written out once here.
#pragma once

#include <string>

// The default high-score table as stored: checksum "AOHP", then the 49 scrambled characters.
inline const std::string kDefaultTableText =
    "AOHPAKXais%-3=SY[fxy*Zap\"6@J%PK`|(2<\";JInx$.l-<V`jt $";
