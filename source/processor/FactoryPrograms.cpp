#include "FactoryPrograms.h"

const char* const factoryProgramText =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Vesk cprog=\"0\" version=\"1\">"
    "<programs>"
    "  <program programname=\"1 Default\"/>"
    "  <program programname=\"2 TS9 Drive@Min\" p0=\"1\" p1=\"0.0\" p2=\"0.5\" p3=\"0.69\" p4=\"0.32\" p5=\"0.0\" p6=\"1.0\" p7=\"0.0\"/>"
    "  <program programname=\"3 Clean\" p0=\"1\" p1=\"0.0\" p2=\"0.5\" p3=\"1.0\" p4=\"0.5\" p5=\"0.0\" p6=\"1.0\" p7=\"1.0\"/>"
    "  <program programname=\"4 Fat\" p0=\"1\" p1=\"1.0\" p2=\"0.5\" p3=\"0.5\" p4=\"0.5\" p5=\"0.0\" p6=\"1.0\" p7=\"0.0\"/>"
    "  "
    "</programs>"
    "</Vesk>";
