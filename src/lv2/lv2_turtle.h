// The bundle's data files, written from the product's own constants and the table of the host
// parameters in their own units (params/plain_units.h), so that the turtle can never disagree
// with the effect: manifest.ttl and the plug-in's zem-ordwen.ttl. The build writes them with the
// generator program (tools/lv2_ttl). [main-thread] (reads the effect's names and texts)
#pragma once

#include <string>

class Templete;

// manifest.ttl: the plug-in's URI, its binary and its data file.
std::string lv2ManifestTurtle();
// zem-ordwen.ttl: classes, version, maker, ports with ranges, defaults (the effect's values as
// built), units, properties and the names of the three-state values.
std::string lv2PluginTurtle(Templete &effect);
// The port symbol of a host parameter's name: lower case, '_' for anything but a letter or digit.
std::string lv2PortSymbol(const char *name);
