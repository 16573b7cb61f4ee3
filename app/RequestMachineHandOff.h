// The machine values of the scan request, handed from the main program to its scan engine.
#pragma once

class CDriverScanUpdate;
class CVelquorApp;

// Works out this machine's user hash when it is still unknown (the hardware hash, else the
// adapter-address identifier), keeps a copy of it in the application object and hands the
// engine the machine values of the scan request (OS identifier, machine identifier,
// application name, campaign texts, computer name, hardware lists, user hash). The main window
// calls it when it opens; a scan may call it again to take the values afresh.
void HandRequestMachineToEngine(CVelquorApp& app, CDriverScanUpdate& engine);
