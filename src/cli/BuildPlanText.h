#pragma once
// The dry-run account of the commands that build S16 files (make, from-shp).

#include <ostream>

struct BuildPlan;

// "create OUT (N bytes)" or "replace OUT (A -> B bytes)" for each file of
// `plan`, then "N files; nothing was written (dry run)".
void TellBuildPlan(std::ostream& out, const BuildPlan& plan);
