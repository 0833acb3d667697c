#include "Common/Parameters/Parameter.h"

#include "Common/Parameters/ParameterRamper.h"

Parameter::~Parameter()
{
    delete ramper;
}

bool Parameter::isRamped() const
{
    return (flags & ParameterFlag::unramped) == 0 && !isOutput && ramper != nullptr;
}
