#pragma once

// The four factory programs, as the XML text of a saved state.
extern const char* const factoryProgramText;
