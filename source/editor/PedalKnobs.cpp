#include "PedalKnobs.h"

#include "EditorImages.h"

KnobTSDrive::KnobTSDrive() : strip (EditorImages::driveStrip()) { setImage (&strip); }
KnobTSDrive::~KnobTSDrive() { strip = {}; }

KnobTSTone::KnobTSTone() : strip (EditorImages::toneStrip()) { setImage (&strip); }
KnobTSTone::~KnobTSTone() { strip = {}; }

KnobTSLevel::KnobTSLevel() : strip (EditorImages::levelStrip()) { setImage (&strip); }
KnobTSLevel::~KnobTSLevel() { strip = {}; }
