// See aeffect.h beside this file.
#include <pluginterfaces/fst/aeffectx.h>
