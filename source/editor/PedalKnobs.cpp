#include "PedalKnobs.h"

#include "EditorImages.h"

KnobTSDrive::KnobTSDrive() : strip (EditorImages::driveStrip()), doubledStrip (EditorImages::driveStrip (EditorImages::Resolution::doubled)) { setImage (&strip, &doubledStrip); }
KnobTSDrive::~KnobTSDrive() { strip = {}; doubledStrip = {}; }

KnobTSTone::KnobTSTone() : strip (EditorImages::toneStrip()), doubledStrip (EditorImages::toneStrip (EditorImages::Resolution::doubled)) { setImage (&strip, &doubledStrip); }
KnobTSTone::~KnobTSTone() { strip = {}; doubledStrip = {}; }

KnobTSLevel::KnobTSLevel() : strip (EditorImages::levelStrip()), doubledStrip (EditorImages::levelStrip (EditorImages::Resolution::doubled)) { setImage (&strip, &doubledStrip); }
KnobTSLevel::~KnobTSLevel() { strip = {}; doubledStrip = {}; }
