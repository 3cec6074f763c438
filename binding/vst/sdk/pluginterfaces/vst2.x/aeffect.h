// The VST 2.4 interface comes from Debian's fst-dev headers; JUCE's VST client
// layer includes the SDK's path, which this shim maps onto fst.
#include <pluginterfaces/fst/aeffect.h>
