#pragma once
// An engine folder for generator tests: type description files, the header text and the list
// data files of the simulation card.
#include <string>

#include "TestSupport.h"

namespace gentest {

inline std::string Entry(const std::string& name, const std::string& description, const std::string& tail) {
  return name + "\n" + description + "\n" + tail + "\n";
}

// Type 1: parameters AREA, EFF and inputs TIN, FLOW. Type 2 chooses its entries by PARMOD.
// Type 3 serves every parameter and input with one REP entry each. Type 5 has no inputs part.
// Type 7's file describes another type only. There is no file for type 8.
inline void WriteEngine(const taltest::TempDir& dir, const std::string& engine = "eng") {
  dir.write(engine + "/Info/type1.inf",
            "TYPE 1 Flat plate collector\nPARAMETERS\n" + Entry("AREA", "Collector area", "m2 ft2 0 10.7639 0 100.0") +
                Entry("EFF", "Efficiency", "none 0 1.00") + "INPUTS\n" +
                Entry("TIN", "Inlet temperature", "C F 32 1.8 -50 150") +
                Entry("FLOW", "Flow rate", "kg/h lb/h 0 2.2046 0 1000"));
  dir.write(engine + "/Info/TYPE2.INF",
            "TYPE 2 Pump\nPARMOD 2\nMODE 2-1\nheading\n" + Entry("LOW", "Low", "none 0 1") + Entry("M", "Mode", "none 1 3") +
                "MODE 2-3\nheading\n" + Entry("SPEED", "Pump speed", "rpm rpm 0 1 0 3000") +
                Entry("MODE", "Operating mode", "none 1 3"));
  dir.write(engine + "/Info/Type3.Inf", "TYPE 3 Many values\nheading\nREP\n" + Entry("VAL", "A value", "none 0 100") +
                                            "INPUTS\nREP\n" + Entry("X", "Input", "none 0 100"));
  dir.write(engine + "/Info/TYPE5.INF", "TYPE 5 No inputs part\nheading\n" + Entry("A", "A", "none 0 1"));
  dir.write(engine + "/Info/TYPE7.INF", "TYPE 70 Another type\nheading\n" + Entry("A", "A", "none 0 1"));
  dir.write(engine + "/Header.txt", "Made for the tests\n");
  dir.write(engine + "/TALWIN/Month1.dat", "2\nJanuary,0\nFebruary,744\n");
  dir.write(engine + "/TALWIN/Length.dat", "2\n2.4000E+0001,One day\n2.8000E+0001,Four weeks\n");
}

}  // namespace gentest
