// A shared module that loads but exports none of the DIFxAPI entry points: what the install
// engine meets when a library of that name is not the Driver Install Frameworks.
extern "C" int NoDifxEntryPoints() { return 0; }
