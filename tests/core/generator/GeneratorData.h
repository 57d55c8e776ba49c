#pragma once
// An engine folder for generator tests: type description files, the header text and the list
// data files of the simulation card.
#include <string>

#include "TestSupport.h"

namespace gentest {

inline std::string Entry(const std::string& name, const std::string& description, const std::string& tail) {
  return name + "\n" + description + "\n" + tail + "\n";
}

// Type 1: parameters AREA, EFF and inputs TIN, FLOW. Type 3 serves every parameter and input
// with one REP entry each. There is no file for type 8.
inline void WriteEngine(const taltest::TempDir& dir, const std::string& engine = "eng") {
  dir.write(engine + "/Info/type1.inf",
            "TYPE 1 Flat plate collector\nPARAMETERS\n" + Entry("AREA", "Collector area", "m2 ft2 0 10.7639 0 100.0") +
                Entry("EFF", "Efficiency", "none 0 1.00") + "INPUTS\n" +
                Entry("TIN", "Inlet temperature", "C F 32 1.8 -50 150") +
                Entry("FLOW", "Flow rate", "kg/h lb/h 0 2.2046 0 1000"));
  dir.write(engine + "/Info/Type3.Inf", "TYPE 3 Many values\nheading\nREP\n" + Entry("VAL", "A value", "none 0 100") +
                                            "INPUTS\nREP\n" + Entry("X", "Input", "none 0 100"));
  dir.write(engine + "/Header.txt", "Made for the tests\n");
  dir.write(engine + "/TALWIN/Month1.dat", "2\nJanuary,0\nFebruary,744\n");
  dir.write(engine + "/TALWIN/Length.dat", "2\n2.4000E+0001,One day\n2.8000E+0001,Four weeks\n");
}

}  // namespace gentest
