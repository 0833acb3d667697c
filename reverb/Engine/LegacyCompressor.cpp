#include "LegacyCompressor.h"

LegacyCompressor::~LegacyCompressor() = default;
