// The command line of trelox-devsim: global options, then device sections.
#pragma once

#include <string>

#include "SimConfig.h"

class OptionParser {
public:
    // Fills *config from the arguments (argv[0] excluded). False with a reason
    // in *error.
    static bool Parse(int argc, const char* const* argv, SimConfig* config, std::string* error);
    // The --help text.
    static const char* Usage();
    // The interface path of a device with this instance id.
    static std::string InterfacePathFor(const std::string& instanceId);
    // The piece between the second and third '#' of an interface path.
    static std::string InstanceIdOf(const std::string& interfacePath);
    // Whether the bus can carry this name as a device's marker.
    static bool IsInterfacePath(const std::string& path);
};
