#pragma once

// Told by a sequencer step that its value or curve mode changed.
class CurveSequencerStepDelegate
{
public:
    virtual ~CurveSequencerStepDelegate() = default;
    virtual void onValueSet(int step, float value) = 0;
};
