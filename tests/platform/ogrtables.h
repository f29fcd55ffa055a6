#pragma once
// TAB tables as another tool makes them: a CSV file (column types in an optional .csvt line) through ogr2ogr.

#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#define SKIP_WITHOUT_OGR2OGR()                                                                                         \
    do {                                                                                                               \
        if (std::system("command -v ogr2ogr >/dev/null 2>&1") != 0)                                                    \
            GTEST_SKIP() << "ogr2ogr is not installed";                                                                \
    } while (0)

// Makes <folder>/<name>.tab; false when ogr2ogr fails.
inline bool MakeTabFromCsv(const std::string& folder, const std::string& name, const std::string& csv,
                           const std::string& csvt = {})
{
    const std::string csvPath = folder + "/" + name + ".csv";
    WriteTextFile(csvPath, csv);
    if (!csvt.empty())
        WriteTextFile(folder + "/" + name + ".csvt", csvt);
    const std::string command = "ogr2ogr '" + folder + "/" + name + ".tab' '" + csvPath + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// The standard layout with the types a legend table has.
inline constexpr const char* StandardCsvHeader =
    "P_Name,P_From,P_To,P_Value,P_Bpat,P_Bfcol,P_Bbcol,P_Psty,P_Ppat,P_Pcol,Comments\n";
inline constexpr const char* StandardCsvTypes =
    "String(80),Real,Real,String(50),Integer,Integer,Integer,Integer,Integer,Integer,String(254)\n";
