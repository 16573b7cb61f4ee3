; A desktop: a 2015 tower PC running Windows 7 x64, about 150 devices (some no longer
; present). Text format: see platform/setupapi/include/zx/machineprofile.h.

device ACPI\PNP0A08\0
  name = PCI Express Root Complex
  hwid = ACPI\PNP0A08
  hwid = *PNP0A08
  compatid = *PNP0A03
  class = System
  mfg = (Standard system devices)
  service = pci
  inf = machine.inf
  section = PCI_DRV_ROOT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0a08

device ACPI\PNP0B00\4&2C2C1F3A&0
  name = System CMOS/real time clock
  hwid = ACPI\PNP0B00
  hwid = *PNP0B00
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0b00

device ACPI\PNP0100\4&2C2C1F3A&0
  name = System timer
  hwid = ACPI\PNP0100
  hwid = *PNP0100
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0100

device ACPI\PNP0200\4&2C2C1F3A&0
  name = Direct memory access controller
  hwid = ACPI\PNP0200
  hwid = *PNP0200
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0200

device ACPI\PNP0000\4&2C2C1F3A&0
  name = Programmable interrupt controller
  hwid = ACPI\PNP0000
  hwid = *PNP0000
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0000

device ACPI\PNP0800\4&2C2C1F3A&0
  name = System speaker
  hwid = ACPI\PNP0800
  hwid = *PNP0800
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0800

device ACPI\PNP0103\4&2C2C1F3A&0
  name = High precision event timer
  hwid = ACPI\PNP0103
  hwid = *PNP0103
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0103

device ACPI\PNP0C0C\4&2C2C1F3A&0
  name = ACPI Power Button
  hwid = ACPI\PNP0C0C
  hwid = *PNP0C0C
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c0c

device ACPI\PNP0C14\4&2C2C1F3A&0
  name = Microsoft Windows Management Interface for ACPI
  hwid = ACPI\PNP0C14
  hwid = *PNP0C14
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c14

device ACPI\INT3F0D\4&2C2C1F3A&0
  name = Motherboard resources
  hwid = ACPI\INT3F0D
  hwid = *INT3F0D
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *int3f0d

device ACPI\PNP0C02\1
  name = Motherboard resources
  hwid = ACPI\PNP0C02
  hwid = *PNP0C02
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c02

device ACPI\PNP0C02\2
  name = Motherboard resources
  hwid = ACPI\PNP0C02
  hwid = *PNP0C02
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c02

device ACPI\PNP0C02\3
  name = Motherboard resources
  hwid = ACPI\PNP0C02
  hwid = *PNP0C02
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c02

device ACPI\PNP0C02\4
  name = Motherboard resources
  hwid = ACPI\PNP0C02
  hwid = *PNP0C02
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c02

device ACPI\PNP0C02\5
  name = Motherboard resources
  hwid = ACPI\PNP0C02
  hwid = *PNP0C02
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c02

device ACPI\PNP0C02\6
  name = Motherboard resources
  hwid = ACPI\PNP0C02
  hwid = *PNP0C02
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c02

device ACPI\PNP0C0B\0
  name = ACPI Fan
  hwid = ACPI\PNP0C0B
  hwid = *PNP0C0B
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c0b

device ACPI\PNP0C0B\1
  name = ACPI Fan
  hwid = ACPI\PNP0C0B
  hwid = *PNP0C0B
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c0b

device ACPI\PNP0C0B\2
  name = ACPI Fan
  hwid = ACPI\PNP0C0B
  hwid = *PNP0C0B
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c0b

device ACPI\PNP0C0B\3
  name = ACPI Fan
  hwid = ACPI\PNP0C0B
  hwid = *PNP0C0B
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0c0b

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_0
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_1
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_2
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_3
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_4
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_5
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_6
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I7-4790K_CPU_@_4.00GHZ\_7
  name = Intel(R) Core(TM) i7-4790K CPU @ 4.00GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R)_Core(TM)_i7-4790K_CPU_@_4.00GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_60
  compatid = ACPI\GenuineIntel_-_Intel64
  class = Processor
  mfg = Intel
  service = intelppm
  inf = cpu.inf
  section = IntelPPM_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\genuineintel_-_intel64

device ACPI\PNP0303\4&1B29C4E9&0
  name = Standard PS/2 Keyboard
  hwid = ACPI\PNP0303
  hwid = *PNP0303
  class = Keyboard
  mfg = (Standard keyboards)
  service = i8042prt
  inf = keyboard.inf
  section = STANDARD_Inst
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *pnp0303

device PCI\VEN_8086&DEV_0C00&SUBSYS_86001462&REV_06\3&11583659&0&00
  name = Intel(R) Xeon(R) processor E3-1200 v3/4th Gen Core processor DRAM Controller - 0C00
  hwid = PCI\VEN_8086&DEV_0C00&SUBSYS_86001462&REV_06
  hwid = PCI\VEN_8086&DEV_0C00&SUBSYS_86001462
  hwid = PCI\VEN_8086&DEV_0C00&CC_060000
  hwid = PCI\VEN_8086&DEV_0C00&CC_0600
  compatid = PCI\VEN_8086&DEV_0C00&REV_06
  compatid = PCI\VEN_8086&DEV_0C00
  compatid = PCI\VEN_8086&CC_060000
  compatid = PCI\VEN_8086&CC_0600
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060000
  compatid = PCI\CC_0600
  class = System
  mfg = INTEL
  location = PCI bus 0, device 0, function 0
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_0c00
  rank = 0x1001

device PCI\VEN_8086&DEV_0C01&SUBSYS_86001462&REV_06\3&11583659&0&08
  name = Intel(R) Xeon(R) processor E3-1200 v3/4th Gen Core processor PCI Express x16 Controller - 0C01
  hwid = PCI\VEN_8086&DEV_0C01&SUBSYS_86001462&REV_06
  hwid = PCI\VEN_8086&DEV_0C01&SUBSYS_86001462
  hwid = PCI\VEN_8086&DEV_0C01&CC_060400
  hwid = PCI\VEN_8086&DEV_0C01&CC_0604
  compatid = PCI\VEN_8086&DEV_0C01&REV_06
  compatid = PCI\VEN_8086&DEV_0C01
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 1, function 0
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_0c01
  rank = 0x1001

device PCI\VEN_8086&DEV_8C10&SUBSYS_7C791462&REV_D0\3&11583659&0&E0
  name = Intel(R) 9 Series Chipset Family PCI Express Root Port 1 - 8C10
  hwid = PCI\VEN_8086&DEV_8C10&SUBSYS_7C791462&REV_D0
  hwid = PCI\VEN_8086&DEV_8C10&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C10&CC_060400
  hwid = PCI\VEN_8086&DEV_8C10&CC_0604
  compatid = PCI\VEN_8086&DEV_8C10&REV_D0
  compatid = PCI\VEN_8086&DEV_8C10
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 28, function 0
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8c10
  rank = 0x1001

device PCI\VEN_8086&DEV_8C14&SUBSYS_7C791462&REV_D0\3&11583659&0&E2
  name = Intel(R) 9 Series Chipset Family PCI Express Root Port 3 - 8C14
  hwid = PCI\VEN_8086&DEV_8C14&SUBSYS_7C791462&REV_D0
  hwid = PCI\VEN_8086&DEV_8C14&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C14&CC_060400
  hwid = PCI\VEN_8086&DEV_8C14&CC_0604
  compatid = PCI\VEN_8086&DEV_8C14&REV_D0
  compatid = PCI\VEN_8086&DEV_8C14
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 28, function 2
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8c14
  rank = 0x1001

device PCI\VEN_8086&DEV_8C16&SUBSYS_7C791462&REV_D0\3&11583659&0&E3
  name = Intel(R) 9 Series Chipset Family PCI Express Root Port 4 - 8C16
  hwid = PCI\VEN_8086&DEV_8C16&SUBSYS_7C791462&REV_D0
  hwid = PCI\VEN_8086&DEV_8C16&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C16&CC_060400
  hwid = PCI\VEN_8086&DEV_8C16&CC_0604
  compatid = PCI\VEN_8086&DEV_8C16&REV_D0
  compatid = PCI\VEN_8086&DEV_8C16
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 28, function 3
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8c16
  rank = 0x1001

device PCI\VEN_8086&DEV_8C18&SUBSYS_7C791462&REV_D0\3&11583659&0&E4
  name = Intel(R) 9 Series Chipset Family PCI Express Root Port 5 - 8C18
  hwid = PCI\VEN_8086&DEV_8C18&SUBSYS_7C791462&REV_D0
  hwid = PCI\VEN_8086&DEV_8C18&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C18&CC_060400
  hwid = PCI\VEN_8086&DEV_8C18&CC_0604
  compatid = PCI\VEN_8086&DEV_8C18&REV_D0
  compatid = PCI\VEN_8086&DEV_8C18
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 28, function 4
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8c18
  rank = 0x1001

device PCI\VEN_8086&DEV_8C1A&SUBSYS_7C791462&REV_D0\3&11583659&0&E5
  name = Intel(R) 9 Series Chipset Family PCI Express Root Port 6 - 8C1A
  hwid = PCI\VEN_8086&DEV_8C1A&SUBSYS_7C791462&REV_D0
  hwid = PCI\VEN_8086&DEV_8C1A&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C1A&CC_060400
  hwid = PCI\VEN_8086&DEV_8C1A&CC_0604
  compatid = PCI\VEN_8086&DEV_8C1A&REV_D0
  compatid = PCI\VEN_8086&DEV_8C1A
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 28, function 5
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8c1a
  rank = 0x1001

device PCI\VEN_8086&DEV_8C1C&SUBSYS_7C791462&REV_D0\3&11583659&0&E6
  name = Intel(R) 9 Series Chipset Family PCI Express Root Port 7 - 8C1C
  hwid = PCI\VEN_8086&DEV_8C1C&SUBSYS_7C791462&REV_D0
  hwid = PCI\VEN_8086&DEV_8C1C&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C1C&CC_060400
  hwid = PCI\VEN_8086&DEV_8C1C&CC_0604
  compatid = PCI\VEN_8086&DEV_8C1C&REV_D0
  compatid = PCI\VEN_8086&DEV_8C1C
  compatid = PCI\VEN_8086&CC_060400
  compatid = PCI\VEN_8086&CC_0604
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060400
  compatid = PCI\CC_0604
  class = System
  mfg = INTEL
  service = pci
  location = PCI bus 0, device 28, function 6
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8c1c
  rank = 0x1001

device PCI\VEN_8086&DEV_8CC4&SUBSYS_7C791462&REV_00\3&11583659&0&F8
  name = Intel(R) Z97 Chipset LPC Controller - 8CC4
  hwid = PCI\VEN_8086&DEV_8CC4&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CC4&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CC4&CC_060100
  hwid = PCI\VEN_8086&DEV_8CC4&CC_0601
  compatid = PCI\VEN_8086&DEV_8CC4&REV_00
  compatid = PCI\VEN_8086&DEV_8CC4
  compatid = PCI\VEN_8086&CC_060100
  compatid = PCI\VEN_8086&CC_0601
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060100
  compatid = PCI\CC_0601
  class = System
  mfg = INTEL
  service = msisadrv
  location = PCI bus 0, device 31, function 0
  inf = oem6.inf
  section = NO_DRV
  version = 10.0.27
  date = 3-26-2015
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8cc4
  rank = 0x1001

device PCI\VEN_8086&DEV_8C82&SUBSYS_7C791462&REV_00\3&11583659&0&FA
  name = Intel(R) 9 Series Chipset Family SATA AHCI Controller
  hwid = PCI\VEN_8086&DEV_8C82&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8C82&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8C82&CC_010601
  hwid = PCI\VEN_8086&DEV_8C82&CC_0106
  compatid = PCI\VEN_8086&DEV_8C82&REV_00
  compatid = PCI\VEN_8086&DEV_8C82
  compatid = PCI\VEN_8086&CC_010601
  compatid = PCI\VEN_8086&CC_0106
  compatid = PCI\VEN_8086
  compatid = PCI\CC_010601
  compatid = PCI\CC_0106
  class = HDC
  mfg = Intel Corporation
  service = iaStorA
  location = PCI bus 0, device 31, function 2
  inf = oem8.inf
  section = iaStorA_Inst
  version = 13.2.0.1022
  date = 10-14-2014
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&cc_0106
  rank = 0x1002

device PCI\VEN_8086&DEV_8CA2&SUBSYS_7C791462&REV_00\3&11583659&0&FB
  name = SM Bus Controller
  hwid = PCI\VEN_8086&DEV_8CA2&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CA2&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CA2&CC_0C0500
  hwid = PCI\VEN_8086&DEV_8CA2&CC_0C05
  compatid = PCI\VEN_8086&DEV_8CA2&REV_00
  compatid = PCI\VEN_8086&DEV_8CA2
  compatid = PCI\VEN_8086&CC_0C0500
  compatid = PCI\VEN_8086&CC_0C05
  compatid = PCI\VEN_8086
  compatid = PCI\CC_0C0500
  compatid = PCI\CC_0C05
  location = PCI bus 0, device 31, function 3

device PCI\VEN_8086&DEV_8CA0&SUBSYS_7C791462&REV_00\3&11583659&0&D8
  name = High Definition Audio Controller
  hwid = PCI\VEN_8086&DEV_8CA0&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CA0&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CA0&CC_040300
  hwid = PCI\VEN_8086&DEV_8CA0&CC_0403
  compatid = PCI\VEN_8086&DEV_8CA0&REV_00
  compatid = PCI\VEN_8086&DEV_8CA0
  compatid = PCI\VEN_8086&CC_040300
  compatid = PCI\VEN_8086&CC_0403
  compatid = PCI\VEN_8086
  compatid = PCI\CC_040300
  compatid = PCI\CC_0403
  class = System
  mfg = Microsoft
  service = HDAudBus
  location = PCI bus 0, device 27, function 0
  inf = hdaudbus.inf
  section = HDAudio_Device.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\cc_0403
  rank = 0x1006

device PCI\VEN_8086&DEV_8CB1&SUBSYS_7C791462&REV_00\3&11583659&0&A0
  name = Intel(R) USB 3.0 eXtensible Host Controller
  hwid = PCI\VEN_8086&DEV_8CB1&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CB1&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CB1&CC_0C0330
  hwid = PCI\VEN_8086&DEV_8CB1&CC_0C03
  compatid = PCI\VEN_8086&DEV_8CB1&REV_00
  compatid = PCI\VEN_8086&DEV_8CB1
  compatid = PCI\VEN_8086&CC_0C0330
  compatid = PCI\VEN_8086&CC_0C03
  compatid = PCI\VEN_8086
  compatid = PCI\CC_0C0330
  compatid = PCI\CC_0C03
  class = USB
  mfg = Intel Corporation
  service = iusb3xhc
  location = PCI bus 0, device 20, function 0
  inf = oem10.inf
  section = Generic.Install.NT
  version = 3.0.0.32
  date = 7-24-2014
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8cb1
  rank = 0x1001

device PCI\VEN_8086&DEV_8CAD&SUBSYS_7C791462&REV_00\3&11583659&0&D0
  name = Intel(R) 9 Series Chipset Family USB Enhanced Host Controller - 8CAD
  hwid = PCI\VEN_8086&DEV_8CAD&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CAD&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CAD&CC_0C0320
  hwid = PCI\VEN_8086&DEV_8CAD&CC_0C03
  compatid = PCI\VEN_8086&DEV_8CAD&REV_00
  compatid = PCI\VEN_8086&DEV_8CAD
  compatid = PCI\VEN_8086&CC_0C0320
  compatid = PCI\VEN_8086&CC_0C03
  compatid = PCI\VEN_8086
  compatid = PCI\CC_0C0320
  compatid = PCI\CC_0C03
  class = USB
  mfg = Intel
  service = usbehci
  location = PCI bus 0, device 26, function 0
  inf = usbport.inf
  section = EHCI.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\ven_8086&cc_0c0320
  rank = 0x1002

device PCI\VEN_8086&DEV_8CA6&SUBSYS_7C791462&REV_00\3&11583659&0&E8
  name = Intel(R) 9 Series Chipset Family USB Enhanced Host Controller - 8CA6
  hwid = PCI\VEN_8086&DEV_8CA6&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CA6&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CA6&CC_0C0320
  hwid = PCI\VEN_8086&DEV_8CA6&CC_0C03
  compatid = PCI\VEN_8086&DEV_8CA6&REV_00
  compatid = PCI\VEN_8086&DEV_8CA6
  compatid = PCI\VEN_8086&CC_0C0320
  compatid = PCI\VEN_8086&CC_0C03
  compatid = PCI\VEN_8086
  compatid = PCI\CC_0C0320
  compatid = PCI\CC_0C03
  class = USB
  mfg = Intel
  service = usbehci
  location = PCI bus 0, device 29, function 0
  inf = usbport.inf
  section = EHCI.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\ven_8086&cc_0c0320
  rank = 0x1002

device PCI\VEN_8086&DEV_8CBA&SUBSYS_7C791462&REV_00\3&11583659&0&B0
  name = Intel(R) Management Engine Interface
  hwid = PCI\VEN_8086&DEV_8CBA&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_8CBA&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_8CBA&CC_078000
  hwid = PCI\VEN_8086&DEV_8CBA&CC_0780
  compatid = PCI\VEN_8086&DEV_8CBA&REV_00
  compatid = PCI\VEN_8086&DEV_8CBA
  compatid = PCI\VEN_8086&CC_078000
  compatid = PCI\VEN_8086&CC_0780
  compatid = PCI\VEN_8086
  compatid = PCI\CC_078000
  compatid = PCI\CC_0780
  class = System
  mfg = Intel
  service = MEIx64
  location = PCI bus 0, device 22, function 0
  inf = oem12.inf
  section = MEI_Install
  version = 10.0.0.1204
  date = 12-4-2014
  provider = Intel
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_8cba
  rank = 0x1001

device PCI\VEN_8086&DEV_153B&SUBSYS_7C791462&REV_00\3&11583659&0&C8
  name = Intel(R) Ethernet Connection I217-V
  hwid = PCI\VEN_8086&DEV_153B&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_8086&DEV_153B&SUBSYS_7C791462
  hwid = PCI\VEN_8086&DEV_153B&CC_020000
  hwid = PCI\VEN_8086&DEV_153B&CC_0200
  compatid = PCI\VEN_8086&DEV_153B&REV_00
  compatid = PCI\VEN_8086&DEV_153B
  compatid = PCI\VEN_8086&CC_020000
  compatid = PCI\VEN_8086&CC_0200
  compatid = PCI\VEN_8086
  compatid = PCI\CC_020000
  compatid = PCI\CC_0200
  class = Net
  mfg = Intel
  service = e1dexpress
  location = PCI bus 0, device 25, function 0
  inf = oem13.inf
  section = E153B.6.1.1
  version = 12.12.80.1955
  date = 1-14-2015
  provider = Intel
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_153b&subsys_7c791462
  rank = 1

device PCI\VEN_10DE&DEV_13C2&SUBSYS_31601462&REV_A1\4&1C2B3D01&0&0000
  name = NVIDIA GeForce GTX 970
  hwid = PCI\VEN_10DE&DEV_13C2&SUBSYS_31601462&REV_A1
  hwid = PCI\VEN_10DE&DEV_13C2&SUBSYS_31601462
  hwid = PCI\VEN_10DE&DEV_13C2&CC_030000
  hwid = PCI\VEN_10DE&DEV_13C2&CC_0300
  compatid = PCI\VEN_10DE&DEV_13C2&REV_A1
  compatid = PCI\VEN_10DE&DEV_13C2
  compatid = PCI\VEN_10DE&CC_030000
  compatid = PCI\VEN_10DE&CC_0300
  compatid = PCI\VEN_10DE
  compatid = PCI\CC_030000
  compatid = PCI\CC_0300
  class = Display
  mfg = NVIDIA
  service = nvlddmkm
  location = PCI bus 1, device 0, function 0
  inf = oem20.inf
  section = Section076
  version = 9.18.13.4788
  date = 2-24-2015
  provider = NVIDIA
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_10de&dev_13c2&subsys_31601462
  rank = 1

device PCI\VEN_10DE&DEV_0FBB&SUBSYS_31601462&REV_A1\4&1C2B3D01&0&0001
  name = High Definition Audio Controller
  hwid = PCI\VEN_10DE&DEV_0FBB&SUBSYS_31601462&REV_A1
  hwid = PCI\VEN_10DE&DEV_0FBB&SUBSYS_31601462
  hwid = PCI\VEN_10DE&DEV_0FBB&CC_040300
  hwid = PCI\VEN_10DE&DEV_0FBB&CC_0403
  compatid = PCI\VEN_10DE&DEV_0FBB&REV_A1
  compatid = PCI\VEN_10DE&DEV_0FBB
  compatid = PCI\VEN_10DE&CC_040300
  compatid = PCI\VEN_10DE&CC_0403
  compatid = PCI\VEN_10DE
  compatid = PCI\CC_040300
  compatid = PCI\CC_0403
  class = System
  mfg = Microsoft
  service = HDAudBus
  location = PCI bus 1, device 0, function 1
  inf = hdaudbus.inf
  section = HDAudio_Device.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\cc_0403
  rank = 0x1006

device PCI\VEN_10EC&DEV_5227&SUBSYS_7C791462&REV_01\4&1C2B3D02&0&0000
  name = Realtek PCIE CardReader
  hwid = PCI\VEN_10EC&DEV_5227&SUBSYS_7C791462&REV_01
  hwid = PCI\VEN_10EC&DEV_5227&SUBSYS_7C791462
  hwid = PCI\VEN_10EC&DEV_5227&CC_FF0000
  hwid = PCI\VEN_10EC&DEV_5227&CC_FF00
  compatid = PCI\VEN_10EC&DEV_5227&REV_01
  compatid = PCI\VEN_10EC&DEV_5227
  compatid = PCI\VEN_10EC&CC_FF0000
  compatid = PCI\VEN_10EC&CC_FF00
  compatid = PCI\VEN_10EC
  compatid = PCI\CC_FF0000
  compatid = PCI\CC_FF00
  class = MTD
  mfg = Realtek Semiconductor Corp.
  service = RTSPER
  location = PCI bus 2, device 0, function 0
  inf = oem16.inf
  section = RTS5227
  version = 6.1.7601.28116
  date = 9-5-2014
  provider = Realtek Semiconductor Corp.
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_10ec&dev_5227&subsys_7c791462
  rank = 1

device PCI\VEN_14E4&DEV_43A0&SUBSYS_061C106B&REV_03\4&1C2B3D03&0&0000
  name = Broadcom 802.11ac Network Adapter
  friendly = Wireless Network Connection
  hwid = PCI\VEN_14E4&DEV_43A0&SUBSYS_061C106B&REV_03
  hwid = PCI\VEN_14E4&DEV_43A0&SUBSYS_061C106B
  hwid = PCI\VEN_14E4&DEV_43A0&CC_028000
  hwid = PCI\VEN_14E4&DEV_43A0&CC_0280
  compatid = PCI\VEN_14E4&DEV_43A0&REV_03
  compatid = PCI\VEN_14E4&DEV_43A0
  compatid = PCI\VEN_14E4&CC_028000
  compatid = PCI\VEN_14E4&CC_0280
  compatid = PCI\VEN_14E4
  compatid = PCI\CC_028000
  compatid = PCI\CC_0280
  class = Net
  mfg = Broadcom
  service = BCMWL63a
  location = PCI bus 3, device 0, function 0
  inf = oem24.inf
  section = BCM43XX_NT61
  version = 6.30.223.255
  date = 7-17-2014
  provider = Broadcom
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_14e4&dev_43a0
  rank = 0x1001

device PCI\VEN_1B21&DEV_1142&SUBSYS_7C791462&REV_00\4&1C2B3D04&0&0000
  name = ASMedia USB 3.1 eXtensible Host Controller
  hwid = PCI\VEN_1B21&DEV_1142&SUBSYS_7C791462&REV_00
  hwid = PCI\VEN_1B21&DEV_1142&SUBSYS_7C791462
  hwid = PCI\VEN_1B21&DEV_1142&CC_0C0330
  hwid = PCI\VEN_1B21&DEV_1142&CC_0C03
  compatid = PCI\VEN_1B21&DEV_1142&REV_00
  compatid = PCI\VEN_1B21&DEV_1142
  compatid = PCI\VEN_1B21&CC_0C0330
  compatid = PCI\VEN_1B21&CC_0C03
  compatid = PCI\VEN_1B21
  compatid = PCI\CC_0C0330
  compatid = PCI\CC_0C03
  class = USB
  mfg = ASMedia Technology Inc
  service = asmtxhci
  location = PCI bus 4, device 0, function 0
  inf = oem26.inf
  section = asmtxhci.Install
  version = 1.16.26.0
  date = 5-12-2015
  provider = ASMedia Technology Inc
  matching = pci\ven_1b21&dev_1142
  rank = 0x00ff1001

device PCI\VEN_1912&DEV_0015&SUBSYS_7C791462&REV_02\4&1C2B3D05&0&0000
  name = Universal Serial Bus (USB) Controller
  hwid = PCI\VEN_1912&DEV_0015&SUBSYS_7C791462&REV_02
  hwid = PCI\VEN_1912&DEV_0015&SUBSYS_7C791462
  hwid = PCI\VEN_1912&DEV_0015&CC_0C0330
  hwid = PCI\VEN_1912&DEV_0015&CC_0C03
  compatid = PCI\VEN_1912&DEV_0015&REV_02
  compatid = PCI\VEN_1912&DEV_0015
  compatid = PCI\VEN_1912&CC_0C0330
  compatid = PCI\VEN_1912&CC_0C03
  compatid = PCI\VEN_1912
  compatid = PCI\CC_0C0330
  compatid = PCI\CC_0C03
  location = PCI bus 5, device 0, function 0
  problem = 28

device HDAUDIO\FUNC_01&VEN_10EC&DEV_0892&SUBSYS_14627C79&REV_1003\4&1E9D7A20&0&0001
  name = Realtek High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0892&SUBSYS_14627C79&REV_1003
  hwid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0892&SUBSYS_14627C79
  compatid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0892&REV_1003
  compatid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0892
  compatid = HDAUDIO\FUNC_01&VEN_10EC
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = Realtek
  service = IntcAzAudAddService
  inf = oem28.inf
  section = IntcAzAudModel
  version = 6.0.1.7475
  date = 3-26-2015
  provider = Realtek Semiconductor Corp.
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_10ec&dev_0892&subsys_14627c79
  rank = 1

device HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001\5&2B8E3C10&0&0101
  name = NVIDIA High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&REV_1001
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070
  compatid = HDAUDIO\FUNC_01&VEN_10DE
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = NVIDIA Corporation
  service = NVHDA
  inf = oem21.inf
  section = NVHDA64v
  version = 1.3.33.2
  date = 11-18-2014
  provider = NVIDIA Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_10de&dev_0070
  rank = 0x1001

device HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001\5&2B8E3C11&0&0201
  name = NVIDIA High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&REV_1001
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070
  compatid = HDAUDIO\FUNC_01&VEN_10DE
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = NVIDIA Corporation
  service = NVHDA
  inf = oem21.inf
  section = NVHDA64v
  version = 1.3.33.2
  date = 11-18-2014
  provider = NVIDIA Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_10de&dev_0070
  rank = 0x1001

device HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001\5&2B8E3C12&0&0301
  name = NVIDIA High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&REV_1001
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070
  compatid = HDAUDIO\FUNC_01&VEN_10DE
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = NVIDIA Corporation
  service = NVHDA
  inf = oem21.inf
  section = NVHDA64v
  version = 1.3.33.2
  date = 11-18-2014
  provider = NVIDIA Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_10de&dev_0070
  rank = 0x1001

device HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001\5&2B8E3C13&0&0401
  name = NVIDIA High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160&REV_1001
  hwid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&SUBSYS_14623160
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070&REV_1001
  compatid = HDAUDIO\FUNC_01&VEN_10DE&DEV_0070
  compatid = HDAUDIO\FUNC_01&VEN_10DE
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = NVIDIA Corporation
  service = NVHDA
  inf = oem21.inf
  section = NVHDA64v
  version = 1.3.33.2
  date = 11-18-2014
  provider = NVIDIA Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_10de&dev_0070
  rank = 0x1001

device HDAUDIO\FUNC_01&VEN_10EC&SUBSYS_14627C79\4&1E9D7A20&0&0101
  name = Audio Device on High Definition Audio Bus
  hwid = HDAUDIO\FUNC_01&VEN_10EC&SUBSYS_14627C79
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = Microsoft
  problem = 28

device USB\ROOT_HUB30\4&2A8F0000&0
  name = USB Root Hub (xHCI)
  hwid = USB\ROOT_HUB30&VID8086&PID8CB1&REV0000
  hwid = USB\ROOT_HUB30&VID8086&PID8CB1
  hwid = USB\ROOT_HUB30
  class = USB
  mfg = (Standard USB Host Controller)
  service = iusb3hub
  inf = oem11.inf
  section = ROOTHUB.Dev.NT
  version = 3.0.0.32
  date = 7-24-2014
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = usb\root_hub30

device USB\ROOT_HUB20\4&2A8F0001&0
  name = USB Root Hub
  hwid = USB\ROOT_HUB20&VID8086&PID8CAD&REV0000
  hwid = USB\ROOT_HUB20&VID8086&PID8CAD
  hwid = USB\ROOT_HUB20
  class = USB
  mfg = (Standard USB Host Controller)
  service = usbhub
  inf = usbport.inf
  section = ROOTHUB.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\root_hub20

device USB\ROOT_HUB20\4&2A8F0002&0
  name = USB Root Hub
  hwid = USB\ROOT_HUB20&VID8086&PID8CA6&REV0000
  hwid = USB\ROOT_HUB20&VID8086&PID8CA6
  hwid = USB\ROOT_HUB20
  class = USB
  mfg = (Standard USB Host Controller)
  service = usbhub
  inf = usbport.inf
  section = ROOTHUB.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\root_hub20

device USB\ROOT_HUB30\4&2A8F0003&0
  name = USB Root Hub (xHCI)
  hwid = USB\ROOT_HUB30&VID1B21&PID1142&REV0000
  hwid = USB\ROOT_HUB30&VID1B21&PID1142
  hwid = USB\ROOT_HUB30
  class = USB
  mfg = (Standard USB Host Controller)
  service = asmthub3
  inf = oem27.inf
  section = ROOTHUB.Dev.NT
  version = 1.16.26.0
  date = 5-12-2015
  provider = ASMedia Technology Inc
  matching = usb\root_hub30
  rank = 0x00ff0002

device USB\VID_8087&PID_8009\5&3B1C0000&0&1
  name = Generic USB Hub
  hwid = USB\VID_8087&PID_8009&REV_0005
  hwid = USB\VID_8087&PID_8009
  compatid = USB\Class_09&SubClass_00&Prot_01
  compatid = USB\Class_09&SubClass_00
  compatid = USB\Class_09
  class = USB
  mfg = (Generic USB Hub)
  service = usbhub
  location = Port_#0001.Hub_#0001
  inf = usb.inf
  section = StandardHub.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_09
  rank = 0x1002

device USB\VID_8087&PID_8009\5&3B1C0001&0&1
  name = Generic USB Hub
  hwid = USB\VID_8087&PID_8009&REV_0005
  hwid = USB\VID_8087&PID_8009
  compatid = USB\Class_09&SubClass_00&Prot_01
  compatid = USB\Class_09&SubClass_00
  compatid = USB\Class_09
  class = USB
  mfg = (Generic USB Hub)
  service = usbhub
  location = Port_#0001.Hub_#0002
  inf = usb.inf
  section = StandardHub.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_09
  rank = 0x1002

device USB\VID_046D&PID_C335\6&1E0E9A1&0&2
  name = USB Composite Device
  hwid = USB\VID_046D&PID_C335&REV_4601
  hwid = USB\VID_046D&PID_C335
  compatid = USB\DevClass_00&SubClass_00&Prot_00
  compatid = USB\DevClass_00&SubClass_00
  compatid = USB\DevClass_00
  compatid = USB\COMPOSITE
  class = USB
  mfg = (Standard USB Host Controller)
  service = usbccgp
  inf = usb.inf
  section = Composite.Dev.NT
  version = 6.1.7601.18328
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\composite
  rank = 0x1003

device USB\VID_046D&PID_C335&MI_00\7&1F2E3D00&0&0000
  name = USB Input Device
  hwid = USB\VID_046D&PID_C335&REV_4601&MI_00
  hwid = USB\VID_046D&PID_C335&MI_00
  compatid = USB\Class_03&SubClass_01&Prot_01
  compatid = USB\Class_03&SubClass_01
  compatid = USB\Class_03
  class = HIDClass
  mfg = (Standard system devices)
  service = HidUsb
  inf = input.inf
  section = HID_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_03
  rank = 0x1002

device USB\VID_046D&PID_C335&MI_01\7&1F2E3D01&0&0001
  name = USB Input Device
  hwid = USB\VID_046D&PID_C335&REV_4601&MI_01
  hwid = USB\VID_046D&PID_C335&MI_01
  compatid = USB\Class_03&SubClass_01&Prot_01
  compatid = USB\Class_03&SubClass_01
  compatid = USB\Class_03
  class = HIDClass
  mfg = (Standard system devices)
  service = HidUsb
  inf = input.inf
  section = HID_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_03
  rank = 0x1002

device USB\VID_046D&PID_C335&MI_02\7&1F2E3D02&0&0002
  name = USB Input Device
  hwid = USB\VID_046D&PID_C335&REV_4601&MI_02
  hwid = USB\VID_046D&PID_C335&MI_02
  compatid = USB\Class_03&SubClass_01&Prot_01
  compatid = USB\Class_03&SubClass_01
  compatid = USB\Class_03
  class = HIDClass
  mfg = (Standard system devices)
  service = HidUsb
  inf = input.inf
  section = HID_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_03
  rank = 0x1002

device HID\VID_046D&PID_C335&MI_00\8&2E1C7F0A&0&0000
  name = HID Keyboard Device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_00
  hwid = HID\VID_046D&PID_C335&MI_00
  hwid = HID\VID_046D&UP:0001_U:0006
  hwid = HID_DEVICE_SYSTEM_KEYBOARD
  hwid = HID_DEVICE_UP:0001_U:0006
  hwid = HID_DEVICE
  class = Keyboard
  mfg = (Standard keyboards)
  service = kbdhid
  inf = keyboard.inf
  section = HID_Keyboard_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device_system_keyboard
  rank = 3

device HID\VID_046D&PID_C335&MI_01&COL01\8&1C2D3E4F&0&0000
  name = HID-compliant consumer control device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_01&Col01
  hwid = HID\VID_046D&PID_C335&MI_01&Col01
  hwid = HID\VID_046D&UP:FF01_U:0001
  hwid = HID_DEVICE_UP:FF01_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device_up:ff01_u:0001
  rank = 3

device HID\VID_046D&PID_C335&MI_01&COL02\8&1C2D3E4F&0&0001
  name = HID-compliant vendor-defined device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_01&Col02
  hwid = HID\VID_046D&PID_C335&MI_01&Col02
  hwid = HID\VID_046D&UP:FF02_U:0001
  hwid = HID_DEVICE_UP:FF02_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device_up:ff02_u:0001
  rank = 3

device HID\VID_046D&PID_C335&MI_01&COL03\8&1C2D3E4F&0&0002
  name = HID-compliant vendor-defined device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_01&Col03
  hwid = HID\VID_046D&PID_C335&MI_01&Col03
  hwid = HID\VID_046D&UP:FF03_U:0001
  hwid = HID_DEVICE_UP:FF03_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device_up:ff03_u:0001
  rank = 3

device USB\VID_046D&PID_C52B\6&3A8B1F2C&0&3
  name = USB Input Device
  hwid = USB\VID_046D&PID_C52B&REV_1203
  hwid = USB\VID_046D&PID_C52B
  compatid = USB\Class_03&SubClass_01&Prot_02
  compatid = USB\Class_03&SubClass_01
  compatid = USB\Class_03
  class = HIDClass
  mfg = (Standard system devices)
  service = HidUsb
  inf = input.inf
  section = HID_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_03&subclass_01
  rank = 0x1001

device HID\VID_046D&PID_C52B&MI_01&COL01\7&2A1B7E4C&0&0000
  name = HID-compliant mouse
  hwid = HID\VID_046D&PID_C52B&REV_1203&MI_01&Col01
  hwid = HID\VID_046D&PID_C52B&MI_01&Col01
  hwid = HID\VID_046D&UP:0001_U:0002
  hwid = HID_DEVICE_SYSTEM_MOUSE
  hwid = HID_DEVICE_UP:0001_U:0002
  hwid = HID_DEVICE
  class = Mouse
  mfg = Microsoft
  service = mouhid
  inf = msmouse.inf
  section = HID_Mouse_Inst.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device_system_mouse
  rank = 3

device USB\VID_046D&PID_082D&MI_00\7&3C1D2E3F&0&0000
  name = HD Pro Webcam C920
  hwid = USB\VID_046D&PID_082D&REV_0011&MI_00
  hwid = USB\VID_046D&PID_082D&MI_00
  compatid = USB\Class_0E&SubClass_03&Prot_00
  compatid = USB\Class_0E&SubClass_03
  compatid = USB\Class_0E
  class = Image
  mfg = Microsoft
  service = usbvideo
  inf = usbvideo.inf
  section = USBVideo.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_0e
  rank = 0x1002

device USB\VID_046D&PID_082D&MI_02\7&3C1D2E3F&0&0002
  name = USB Audio Device
  hwid = USB\VID_046D&PID_082D&REV_0011&MI_02
  hwid = USB\VID_046D&PID_082D&MI_02
  compatid = USB\Class_01&SubClass_01&Prot_00
  compatid = USB\Class_01&SubClass_01
  compatid = USB\Class_01
  class = MEDIA
  mfg = (Generic USB Audio)
  service = usbaudio
  inf = wdma_usb.inf
  section = USBAudio
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_01&subclass_01
  rank = 0x1001

device USB\VID_0781&PID_5581\4C530001170120116011
  name = USB Mass Storage Device
  hwid = USB\VID_0781&PID_5581&REV_0100
  hwid = USB\VID_0781&PID_5581
  compatid = USB\Class_08&SubClass_06&Prot_50
  compatid = USB\Class_08&SubClass_06
  compatid = USB\Class_08
  class = USB
  mfg = Compatible USB storage device
  service = USBSTOR
  inf = usbstor.inf
  section = USBSTOR_BULK
  version = 6.1.7601.17577
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_08&subclass_06&prot_50
  rank = 0x1000

device USBSTOR\DISK&VEN_SANDISK&PROD_ULTRA&REV_1.00\4C530001170120116011&0
  name = SanDisk Ultra USB Device
  hwid = USBSTOR\DiskSanDisk_Ultra___________1.00
  hwid = USBSTOR\DiskSanDisk_Ultra___________
  hwid = USBSTOR\DiskSanDisk_
  hwid = USBSTOR\SanDisk_Ultra___________1
  hwid = SanDisk_Ultra___________1
  hwid = USBSTOR\GenDisk
  hwid = GenDisk
  class = DiskDrive
  mfg = (Standard disk drives)
  service = disk
  inf = disk.inf
  section = disk_install.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = gendisk
  rank = 0x6

device USB\VID_03F0&PID_3F11\CN23K1C0Y5
  name = USB Printing Support
  hwid = USB\VID_03F0&PID_3F11&REV_0100
  hwid = USB\VID_03F0&PID_3F11
  compatid = USB\Class_07&SubClass_01&Prot_02
  compatid = USB\Class_07&SubClass_01
  compatid = USB\Class_07
  class = USB
  mfg = Microsoft
  service = usbprint
  inf = usbprint.inf
  section = LPTENUM.Dev
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_07&subclass_01
  rank = 0x1001

device USBPRINT\HEWLETT-PACKARDHP_LASERJET_P2055D\7&2E2F3A4B&0&USB001
  name = HP LaserJet P2055d
  hwid = USBPRINT\Hewlett-PackardHP_LaBA9C
  hwid = Hewlett-PackardHP_LaBA9C
  compatid = GenPrintQueue
  class = Printer
  mfg = HP
  inf = prnhp001.inf
  section = HPLJP2055D
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usbprint\hewlett-packardhp_laba9c
  rank = 0

device USB\VID_0A12&PID_0001\6&2D1E0F3A&0&4
  name = Generic Bluetooth Adapter
  hwid = USB\VID_0A12&PID_0001&REV_8891
  hwid = USB\VID_0A12&PID_0001
  compatid = USB\Class_E0&SubClass_01&Prot_01
  compatid = USB\Class_E0&SubClass_01
  compatid = USB\Class_E0
  class = Bluetooth
  mfg = (Generic Bluetooth Radio)
  service = BTHUSB
  inf = bth.inf
  section = BthUsb
  version = 6.1.7601.17889
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_e0&subclass_01&prot_01
  rank = 0x1000

device BTH\MS_BTHPAN\7&1A2B3C4D&0&2
  name = Bluetooth Device (Personal Area Network)
  hwid = BTH\MS_BTHPAN
  class = Net
  mfg = Microsoft
  service = BthPan
  inf = bthpan.inf
  section = BthPan.Install
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = bth\ms_bthpan
  rank = 0

device BTH\MS_RFCOMM\7&1A2B3C4D&0&0
  name = Bluetooth Device (RFCOMM Protocol TDI)
  hwid = BTH\MS_RFCOMM
  class = Bluetooth
  mfg = Microsoft
  service = RFCOMM
  inf = tdibth.inf
  section = RFCOMM.Install
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = bth\ms_rfcomm
  rank = 0

device USB\VID_045E&PID_028E\6&2A9F0C3D&0&1
  name = Xbox 360 Controller for Windows
  hwid = USB\VID_045E&PID_028E&REV_0114
  hwid = USB\VID_045E&PID_028E
  compatid = USB\Class_FF&SubClass_5D&Prot_01
  compatid = USB\Class_FF&SubClass_5D
  compatid = USB\Class_FF
  class = HIDClass
  mfg = Microsoft
  service = xusb21
  inf = oem35.inf
  section = CC_Install
  version = 6.1.7600.16385
  date = 9-13-2009
  provider = Microsoft
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = usb\vid_045e&pid_028e
  rank = 1

device DISPLAY\DELA0B1\5&3A9E0000&0&UID256
  name = Generic PnP Monitor
  hwid = MONITOR\DELA0B1
  compatid = *PNP09FF
  class = Monitor
  mfg = (Standard monitor types)
  service = monitor
  inf = monitor.inf
  section = Generic.Install.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = monitor\dela0b1
  rank = 0

device DISPLAY\DELA0B1\5&3A9E0001&0&UID257
  name = Generic PnP Monitor
  hwid = MONITOR\DELA0B1
  compatid = *PNP09FF
  class = Monitor
  mfg = (Standard monitor types)
  service = monitor
  inf = monitor.inf
  section = Generic.Install.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = monitor\dela0b1
  rank = 0

device IDE\DISKSAMSUNG_SSD_850_EVO_500GB_______________EMT01B6Q\5&1F2E3D4C&0&0.0.0
  name = SAMSUNG SSD 850 EVO 500GB ATA Device
  hwid = IDE\DiskSAMSUNG_SSD_850_EVO_500GB_______________EMT01B6Q
  hwid = SAMSUNG_SSD_850_EVO_500GB_______________EMT01B6Q
  hwid = GenDisk
  compatid = GenDisk
  class = DiskDrive
  mfg = (Standard disk drives)
  service = disk
  inf = disk.inf
  section = disk_install.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = gendisk
  rank = 2

device IDE\DISKWDC_WD20EZRX-00D8PB0__________________80.00A80\5&1F2E3D4C&0&1.0.0
  name = WDC WD20EZRX-00D8PB0 ATA Device
  hwid = IDE\DiskWDC_WD20EZRX-00D8PB0__________________80.00A80
  hwid = WDC_WD20EZRX-00D8PB0__________________80.00A80
  hwid = GenDisk
  compatid = GenDisk
  class = DiskDrive
  mfg = (Standard disk drives)
  service = disk
  inf = disk.inf
  section = disk_install.NT
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = gendisk
  rank = 2

device SCSI\CDROM&VEN_HL-DT-ST&PROD_DVDRAM_GH24NSD1\4&3A2B1C0D&0&020000
  name = HL-DT-ST DVDRAM GH24NSD1 ATA Device
  hwid = SCSI\CdRomHL-DT-STDVDRAM_GH24NSD1LG00
  hwid = SCSI\CdRomHL-DT-STDVDRAM_GH24NSD1
  hwid = SCSI\CdRomHL-DT-ST
  hwid = SCSI\HL-DT-STDVDRAM_GH24NSD1L
  hwid = HL-DT-STDVDRAM_GH24NSD1L
  hwid = GenCdRom
  compatid = GenCdRom
  class = CDROM
  mfg = (Standard CD-ROM drives)
  service = cdrom
  inf = cdrom.inf
  section = cdrom_install
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = gencdrom
  rank = 5

device STORAGE\VOLUME\{7F2A0000-1C3D-11E5-9A7E-806E6F6E6963}#0000000000100000
  name = Generic volume
  hwid = STORAGE\Volume
  class = Volume
  mfg = Microsoft
  service = volsnap
  inf = volume.inf
  section = volume_install
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = storage\volume
  rank = 0

device STORAGE\VOLUME\{7F2A0001-1C3D-11E5-9A7E-806E6F6E6963}#0000000000200000
  name = Generic volume
  hwid = STORAGE\Volume
  class = Volume
  mfg = Microsoft
  service = volsnap
  inf = volume.inf
  section = volume_install
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = storage\volume
  rank = 0

device STORAGE\VOLUME\{7F2A0002-1C3D-11E5-9A7E-806E6F6E6963}#0000000000300000
  name = Generic volume
  hwid = STORAGE\Volume
  class = Volume
  mfg = Microsoft
  service = volsnap
  inf = volume.inf
  section = volume_install
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = storage\volume
  rank = 0

device STORAGE\VOLUME\{7F2A0003-1C3D-11E5-9A7E-806E6F6E6963}#0000000000400000
  name = Generic volume
  hwid = STORAGE\Volume
  class = Volume
  mfg = Microsoft
  service = volsnap
  inf = volume.inf
  section = volume_install
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = storage\volume
  rank = 0

device STORAGE\VOLUME\{7F2A0004-1C3D-11E5-9A7E-806E6F6E6963}#0000000000500000
  name = Generic volume
  hwid = STORAGE\Volume
  class = Volume
  mfg = Microsoft
  service = volsnap
  inf = volume.inf
  section = volume_install
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = storage\volume
  rank = 0

device STORAGE\VOLUME\{7F2A0005-1C3D-11E5-9A7E-806E6F6E6963}#0000000000600000
  name = Generic volume
  hwid = STORAGE\Volume
  class = Volume
  mfg = Microsoft
  service = volsnap
  inf = volume.inf
  section = volume_install
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = storage\volume
  rank = 0

device STORAGE\VOLUMESNAPSHOT\HARDDISKVOLUMESNAPSHOT1
  name = Generic volume shadow copy
  hwid = STORAGE\VolumeSnapshot
  mfg = Microsoft
  status = 0x0180200A
  problem = 0

device STORAGE\VOLUMESNAPSHOT\HARDDISKVOLUMESNAPSHOT2
  name = Generic volume shadow copy
  hwid = STORAGE\VolumeSnapshot
  mfg = Microsoft
  status = 0x0180200A
  problem = 0

device ROOT\LEGACY_BEEP\0000
  name = Beep
  class = LegacyDriver
  service = Beep

device ROOT\LEGACY_AFD\0000
  name = AFD
  class = LegacyDriver
  service = AFD

device ROOT\LEGACY_NULL\0000
  name = Null
  class = LegacyDriver
  service = Null

device ROOT\LEGACY_NETBT\0000
  name = NetBT
  class = LegacyDriver
  service = NetBT

device ROOT\LEGACY_TCPIP\0000
  name = tcpip
  class = LegacyDriver
  service = Tcpip

device ROOT\LEGACY_HTTP\0000
  name = HTTP
  class = LegacyDriver
  service = HTTP

device ROOT\LEGACY_KSECDD\0000
  name = KSecDD
  class = LegacyDriver
  service = KSecDD

device ROOT\LEGACY_MOUNTMGR\0000
  name = mountmgr
  class = LegacyDriver
  service = MountMgr

device ROOT\LEGACY_IPFILTERDRIVER\0000
  name = Remote Access IP ARP Driver
  class = LegacyDriver
  service = IpFilterDriver

device ROOT\LEGACY_VBOXDRV\0000
  name = VirtualBox Support Driver
  class = LegacyDriver
  service = VBoxDrv

device ROOT\MS_SSTPMINIPORT\0000
  name = WAN Miniport (SSTP)
  hwid = ms_sstpminiport
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_sstpminiport
  rank = 0

device ROOT\MS_AGILEVPNMINIPORT\0000
  name = WAN Miniport (IKEv2)
  hwid = ms_agilevpnminiport
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_agilevpnminiport
  rank = 0

device ROOT\MS_L2TPMINIPORT\0000
  name = WAN Miniport (L2TP)
  hwid = ms_l2tpminiport
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_l2tpminiport
  rank = 0

device ROOT\MS_PPTPMINIPORT\0000
  name = WAN Miniport (PPTP)
  hwid = ms_pptpminiport
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_pptpminiport
  rank = 0

device ROOT\MS_PPPOEMINIPORT\0000
  name = WAN Miniport (PPPOE)
  hwid = ms_pppoeminiport
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_pppoeminiport
  rank = 0

device ROOT\MS_NDISWANIPV6\0000
  name = WAN Miniport (IPv6)
  hwid = ms_ndiswanipv6
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_ndiswanipv6
  rank = 0

device ROOT\MS_NDISWANBH\0000
  name = WAN Miniport (Network Monitor)
  hwid = ms_ndiswanbh
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_ndiswanbh
  rank = 0

device ROOT\MS_NDISWANIP\0000
  name = WAN Miniport (IP)
  hwid = ms_ndiswanip
  class = Net
  mfg = Microsoft
  service = Rasl2tp
  inf = netrasa.inf
  section = Ndi-Mp-Wan
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_ndiswanip
  rank = 0

device ROOT\SYSTEM\0000
  name = Plug and Play Software Device Enumerator
  hwid = root\swenum
  class = System
  mfg = (Standard system devices)
  service = swenum
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\swenum
  rank = 0

device ROOT\SYSTEM\0001
  name = Microsoft System Management BIOS Driver
  hwid = root\mssmbios
  class = System
  mfg = (Standard system devices)
  service = mssmbios
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\mssmbios
  rank = 0

device ROOT\SYSTEM\0002
  name = Volume Manager
  hwid = root\volmgr
  class = System
  mfg = (Standard system devices)
  service = volmgr
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\volmgr
  rank = 0

device ROOT\SYSTEM\0003
  name = Composite Bus Enumerator
  hwid = root\CompositeBus
  class = System
  mfg = (Standard system devices)
  service = CompositeBus
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\compositebus
  rank = 0

device ROOT\SYSTEM\0004
  name = Terminal Server Device Redirector
  hwid = root\rdpbus
  class = System
  mfg = (Standard system devices)
  service = rdpbus
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\rdpbus
  rank = 0

device ROOT\SYSTEM\0005
  name = Microsoft Kernel Debug Network Adapter
  hwid = root\kdnic
  class = System
  mfg = (Standard system devices)
  service = kdnic
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\kdnic
  rank = 0

device ROOT\*ISATAP\0000
  name = Microsoft ISATAP Adapter
  hwid = *ISATAP
  class = Net
  mfg = Microsoft
  service = tunnel
  inf = nettun.inf
  section = TUNNEL.ndi
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *isatap
  rank = 0

device ROOT\*TEREDO\0000
  name = Teredo Tunneling Pseudo-Interface
  hwid = *TEREDO
  class = Net
  mfg = Microsoft
  service = tunnel
  inf = nettun.inf
  section = TUNNEL.ndi
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = *teredo
  rank = 0

device ROOT\NET\0000
  name = VirtualBox Host-Only Ethernet Adapter
  hwid = sun_VBoxNetAdp
  class = Net
  mfg = Oracle Corporation
  service = VBoxNetAdp
  inf = oem41.inf
  section = VBoxNetAdp.ndi
  version = 4.3.26.0
  date = 3-16-2015
  provider = Oracle Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = sun_vboxnetadp
  rank = 0

device ROOT\NET\0001
  name = Intel(R) Ethernet Connection I217-V - Virtual Switch
  hwid = root\vms_mp
  class = Net
  mfg = Microsoft
  service = VMSMP
  inf = wvms_mp.inf
  section = vms_mp.ndi
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = root\vms_mp
  rank = 0

device {5D624F94-8850-40C3-A3FA-A4FD2080BAF3}\VWIFIMP\5&1D2C3B4A&0&01
  name = Microsoft Virtual WiFi Miniport Adapter
  hwid = {5d624f94-8850-40c3-a3fa-a4fd2080baf3}\vwifimp
  class = Net
  mfg = Microsoft
  service = vwifimp
  status = 0x01802400
  problem = 22
  inf = netvwifimp.inf
  section = vwifimp.ndi
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = {5d624f94-8850-40c3-a3fa-a4fd2080baf3}\vwifimp
  rank = 0

device UMB\UMB\1&841921D&0&WPDBUSENUMROOT
  name = UMBus Enumerator
  hwid = UMB\UMBUS
  class = System
  mfg = Microsoft
  service = umbus
  inf = umbus.inf
  section = UmbusRoot_Device.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = umb\umbus
  rank = 0

device SW\{96E080C7-143C-11D1-B40F-00A0C9223196}\{3C0D501A-140B-11D1-B40F-00A0C9223196}
  name = Microsoft Streaming Service Proxy
  hwid = SW\{96E080C7-143C-11D1-B40F-00A0C9223196}
  class = MEDIA
  mfg = Microsoft
  service = MSPQM
  inf = ks.inf
  section = Proxy.Install.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = sw\{96e080c7-143c-11d1-b40f-00a0c9223196}
  rank = 0

device MMDEVAPI\AUDIOENDPOINTS\{0.0.0.00000000}.{3A1B2C3D-0001-4E5F-8A9B-0C1D2E3F4A5B}
  name = Speakers
  hwid = MMDEVAPI\AudioEndpoints
  class = AudioEndpoint
  mfg = Microsoft
  inf = audioendpoint.inf
  section = NO_DRV
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = mmdevapi\audioendpoints
  rank = 0

device MMDEVAPI\AUDIOENDPOINTS\{0.0.0.00000000}.{3A1B2C3D-0002-4E5F-8A9B-0C1D2E3F4A5B}
  name = Realtek Digital Output
  hwid = MMDEVAPI\AudioEndpoints
  class = AudioEndpoint
  mfg = Microsoft
  inf = audioendpoint.inf
  section = NO_DRV
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = mmdevapi\audioendpoints
  rank = 0

device MMDEVAPI\AUDIOENDPOINTS\{0.0.1.00000000}.{3A1B2C3D-0003-4E5F-8A9B-0C1D2E3F4A5B}
  name = Microphone
  hwid = MMDEVAPI\AudioEndpoints
  class = AudioEndpoint
  mfg = Microsoft
  inf = audioendpoint.inf
  section = NO_DRV
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = mmdevapi\audioendpoints
  rank = 0

device MMDEVAPI\AUDIOENDPOINTS\{0.0.0.00000000}.{3A1B2C3D-0004-4E5F-8A9B-0C1D2E3F4A5B}
  name = DELL U2414H
  hwid = MMDEVAPI\AudioEndpoints
  class = AudioEndpoint
  mfg = Microsoft
  inf = audioendpoint.inf
  section = NO_DRV
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = mmdevapi\audioendpoints
  rank = 0

device ACPI\THERMALZONE\TZ00
  name = ACPI Thermal Zone
  hwid = ACPI\ThermalZone
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\thermalzone
  rank = 0

device ACPI\THERMALZONE\TZ01
  name = ACPI Thermal Zone
  hwid = ACPI\ThermalZone
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\thermalzone
  rank = 0

device ACPI\THERMALZONE\TZ02
  name = ACPI Thermal Zone
  hwid = ACPI\ThermalZone
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\thermalzone
  rank = 0

device ACPI\THERMALZONE\TZ03
  name = ACPI Thermal Zone
  hwid = ACPI\ThermalZone
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\thermalzone
  rank = 0

device ACPI\THERMALZONE\TZ04
  name = ACPI Thermal Zone
  hwid = ACPI\ThermalZone
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\thermalzone
  rank = 0

device ACPI\THERMALZONE\TZ05
  name = ACPI Thermal Zone
  hwid = ACPI\ThermalZone
  class = System
  mfg = (Standard system devices)
  inf = machine.inf
  section = NO_DRV
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\thermalzone
  rank = 0

device HID\VID_046D&PID_C335&MI_02&COL04\8&2F3E4D5C&0&0000
  name = HID-compliant vendor-defined device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_02&Col04
  hwid = HID\VID_046D&PID_C335&MI_02&Col04
  hwid = HID_DEVICE_UP:FF04_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device
  rank = 3

device HID\VID_046D&PID_C335&MI_02&COL05\8&2F3E4D5C&0&0001
  name = HID-compliant vendor-defined device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_02&Col05
  hwid = HID\VID_046D&PID_C335&MI_02&Col05
  hwid = HID_DEVICE_UP:FF05_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device
  rank = 3

device HID\VID_046D&PID_C335&MI_02&COL06\8&2F3E4D5C&0&0002
  name = HID-compliant vendor-defined device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_02&Col06
  hwid = HID\VID_046D&PID_C335&MI_02&Col06
  hwid = HID_DEVICE_UP:FF06_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device
  rank = 3

device HID\VID_046D&PID_C335&MI_02&COL07\8&2F3E4D5C&0&0003
  name = HID-compliant vendor-defined device
  hwid = HID\VID_046D&PID_C335&REV_4601&MI_02&Col07
  hwid = HID\VID_046D&PID_C335&MI_02&Col07
  hwid = HID_DEVICE_UP:FF07_U:0001
  hwid = HID_DEVICE
  class = HIDClass
  mfg = (Standard system devices)
  inf = input.inf
  section = HID_Raw_Inst.NT
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = hid_device
  rank = 3

device USB\VID_0951&PID_1666\001A92053B6AEF40A9560145
  name = USB Mass Storage Device
  hwid = USB\VID_0951&PID_1666
  class = USB
  mfg = (Standard system devices)
  present = no

device USB\VID_05AC&PID_12A8\ABC123DEF4567890
  name = Apple Mobile Device USB Driver
  hwid = USB\VID_05AC&PID_12A8
  class = USB
  mfg = (Standard system devices)
  present = no

device HID\VID_1532&PID_0037\7&1234ABCD&0&0000
  name = HID-compliant mouse
  hwid = HID\VID_1532&PID_0037
  class = Mouse
  mfg = (Standard system devices)
  present = no

device DISPLAY\SAM0A7A\5&3A9E0100&0&UID256
  name = Generic PnP Monitor
  hwid = MONITOR\SAM0A7A
  class = Monitor
  mfg = (Standard system devices)
  present = no

device USB\VID_04E8&PID_6860\R58M12ABCDE
  name = SAMSUNG Mobile USB Composite Device
  hwid = USB\VID_04E8&PID_6860
  class = USB
  mfg = (Standard system devices)
  present = no

device USBSTOR\DISK&VEN_KINGSTON&PROD_DATATRAVELER_3.0&REV_PMAP\001A92053B6AEF40A9560145&0
  name = Kingston DataTraveler 3.0 USB Device
  hwid = USBSTOR\DiskKingstonDataTraveler_3.0PMAP
  class = DiskDrive
  mfg = (Standard system devices)
  present = no

service winmgmt
  state = running

service Schedule
  state = running

service nvlddmkm
  company = NVIDIA Corporation
  image = \SystemRoot\system32\DRIVERS\nvlddmkm.sys
