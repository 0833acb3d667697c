#pragma once

#include <string>

// One named choice of a parameter; products may extend the record after the text.
struct ParameterChoice
{
    std::string text;
};
