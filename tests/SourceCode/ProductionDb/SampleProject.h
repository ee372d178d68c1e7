// Projects as the production-database tests and benchmark store them, and a comparison of two.
#pragma once

#include "CommonFiles/ProjectData.h"

#include <string>

// A project under the key with a gas-mix fluid, two features, all eight physical values and
// the given number of result rows of the given number of points; every row has errors 3 and
// 5 and warning 8. Texts carry the variant in them, so two variants differ everywhere.
void FillSampleProject(CProjectData& project, int pa, int vk, int pos, int rows, int points,
                       const std::string& variant = "A");

// Adds a failure to the running test (SampleProjectCheck.cpp) for every field in which the two projects differ.
void ExpectSameProject(const CProjectData& expected, const CProjectData& actual);
