// data/maps/solutions.txt: one winning shot per map and frame time, a line each in the form
// "map01 step 0.01 angle 315 power 50"; lines starting with '#' are comments.
#pragma once

#include <string>
#include <vector>

#include "ShotSearch.h"

struct RecordedSolution {
    std::string map;
    std::string step;  // as written: the shortest text that reads back as the frame time
    double frameSeconds = 0.0;
    Shot shot;
};

// The shortest decimal text that reads back as exactly these seconds ("0.01", "0.016666666666666666").
std::string StepText(double seconds);
// For people: "1/60" for a whole number of frames a second that is no short decimal, else StepText.
std::string StepLabel(double seconds);
// A decimal ("0.005") or a fraction ("1/60"); false for anything else or a time that is not positive.
bool ParseStep(const std::string& text, double& seconds);

// False with a message naming the line when the file cannot be read or a line is not of the form.
bool ReadSolutions(const std::string& path, std::vector<RecordedSolution>& solutions, std::string& error);
// Writes the header and the lines, by map and then by frame time; false when the file cannot be made.
bool WriteSolutions(const std::string& path, std::vector<RecordedSolution> solutions);
// The recorded lines with every line of the same map and step replaced by the new one.
std::vector<RecordedSolution> MergeSolutions(std::vector<RecordedSolution> recorded,
                                             const std::vector<RecordedSolution>& found);
