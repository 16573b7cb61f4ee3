; A small laptop: a 2012 business notebook running Windows 7 x64, about 40 devices.
; Text format: see platform/setupapi/include/zx/machineprofile.h.

device ACPI\PNP0A08\0
  name = PCI bus
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

device ACPI\PNP0C0A\1
  name = Microsoft ACPI-Compliant Control Method Battery
  hwid = ACPI\PNP0C0A
  hwid = *PNP0C0A
  class = Battery
  mfg = Microsoft
  service = CmBatt
  inf = battery.inf
  section = CmBatt_Inst
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = acpi\pnp0c0a

device ACPI\PNP0303\4&2F4C4C1A&0
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

device ACPI\LEN0015\4&2F4C4C1A&0
  name = ThinkPad UltraNav Pointing Device
  hwid = ACPI\LEN0015
  hwid = *LEN0015
  compatid = *PNP0F13
  class = Mouse
  mfg = Synaptics
  service = SynTP
  inf = oem21.inf
  section = SynTP_Inst
  version = 16.2.10.13
  date = 3-5-2012
  provider = Synaptics
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = acpi\len0015

device ACPI\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_58_-_INTEL(R)_CORE(TM)_I5-3320M_CPU_@_2.60GHZ\_0
  name = Intel(R) Core(TM) i5-3320M CPU @ 2.60GHz
  hwid = ACPI\GenuineIntel_-_Intel64_Family_6_Model_58_-_Intel(R)_Core(TM)_i5-3320M_CPU_@_2.60GHz
  hwid = *GenuineIntel_-_Intel64_Family_6_Model_58
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

device PCI\VEN_8086&DEV_0154&SUBSYS_21F317AA&REV_09\3&21436425&0&00
  name = Intel(R) Xeon(R) processor E3-1200 v2/3rd Gen Core processor DRAM Controller - 0154
  hwid = PCI\VEN_8086&DEV_0154&SUBSYS_21F317AA&REV_09
  hwid = PCI\VEN_8086&DEV_0154&SUBSYS_21F317AA
  hwid = PCI\VEN_8086&DEV_0154&CC_060000
  hwid = PCI\VEN_8086&DEV_0154&CC_0600
  compatid = PCI\VEN_8086&DEV_0154&REV_09
  compatid = PCI\VEN_8086&DEV_0154
  compatid = PCI\VEN_8086&CC_060000
  compatid = PCI\VEN_8086&CC_0600
  compatid = PCI\VEN_8086
  compatid = PCI\CC_060000
  compatid = PCI\CC_0600
  class = System
  mfg = INTEL
  location = PCI bus 0, device 0, function 0
  inf = oem9.inf
  section = NO_DRV
  version = 9.3.0.1019
  date = 3-30-2012
  provider = INTEL
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_0154

device PCI\VEN_8086&DEV_0166&SUBSYS_21F317AA&REV_09\3&21436425&0&10
  name = Intel(R) HD Graphics 4000
  hwid = PCI\VEN_8086&DEV_0166&SUBSYS_21F317AA&REV_09
  hwid = PCI\VEN_8086&DEV_0166&SUBSYS_21F317AA
  hwid = PCI\VEN_8086&DEV_0166&CC_030000
  hwid = PCI\VEN_8086&DEV_0166&CC_0300
  compatid = PCI\VEN_8086&DEV_0166&REV_09
  compatid = PCI\VEN_8086&DEV_0166
  compatid = PCI\VEN_8086&CC_030000
  compatid = PCI\VEN_8086&CC_0300
  compatid = PCI\VEN_8086
  compatid = PCI\CC_030000
  compatid = PCI\CC_0300
  class = Display
  mfg = Intel Corporation
  service = igfx
  location = PCI bus 0, device 2, function 0
  inf = oem14.inf
  section = iIVBM0
  version = 9.17.10.2843
  date = 8-19-2012
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_0166&subsys_21f317aa

device PCI\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA&REV_A1\4&1B10C2D0&0&0008
  name = NVIDIA Quadro K1000M
  hwid = PCI\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA&REV_A1
  hwid = PCI\VEN_10DE&DEV_0FFC&SUBSYS_21F517AA
  hwid = PCI\VEN_10DE&DEV_0FFC&CC_030000
  hwid = PCI\VEN_10DE&DEV_0FFC&CC_0300
  compatid = PCI\VEN_10DE&DEV_0FFC&REV_A1
  compatid = PCI\VEN_10DE&DEV_0FFC
  compatid = PCI\VEN_10DE&CC_030000
  compatid = PCI\VEN_10DE&CC_0300
  compatid = PCI\VEN_10DE
  compatid = PCI\CC_030000
  compatid = PCI\CC_0300
  class = Display
  mfg = NVIDIA
  service = nvlddmkm
  location = PCI bus 1, device 0, function 0
  inf = oem17.inf
  section = Section054
  version = 9.18.13.1106
  date = 1-22-2013
  provider = NVIDIA
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_10de&dev_0ffc&subsys_21f517aa

device PCI\VEN_8086&DEV_1E31&SUBSYS_21FA17AA&REV_04\3&21436425&0&A0
  name = Intel(R) USB 3.0 eXtensible Host Controller
  hwid = PCI\VEN_8086&DEV_1E31&SUBSYS_21FA17AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E31&SUBSYS_21FA17AA
  hwid = PCI\VEN_8086&DEV_1E31&CC_0C0330
  hwid = PCI\VEN_8086&DEV_1E31&CC_0C03
  compatid = PCI\VEN_8086&DEV_1E31&REV_04
  compatid = PCI\VEN_8086&DEV_1E31
  compatid = PCI\VEN_8086&CC_0C0330
  compatid = PCI\VEN_8086&CC_0C03
  compatid = PCI\VEN_8086
  compatid = PCI\CC_0C0330
  compatid = PCI\CC_0C03
  class = USB
  mfg = Intel Corporation
  service = iusb3xhc
  location = PCI bus 0, device 20, function 0
  inf = oem22.inf
  section = Generic.Install.NT
  version = 1.0.5.235
  date = 6-14-2012
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_1e31

device PCI\VEN_8086&DEV_1E2D&SUBSYS_21FA17AA&REV_04\3&21436425&0&D0
  name = Intel(R) 7 Series/C216 Chipset Family USB Enhanced Host Controller - 1E2D
  hwid = PCI\VEN_8086&DEV_1E2D&SUBSYS_21FA17AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E2D&SUBSYS_21FA17AA
  hwid = PCI\VEN_8086&DEV_1E2D&CC_0C0320
  hwid = PCI\VEN_8086&DEV_1E2D&CC_0C03
  compatid = PCI\VEN_8086&DEV_1E2D&REV_04
  compatid = PCI\VEN_8086&DEV_1E2D
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
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\ven_8086&cc_0c0320

device PCI\VEN_8086&DEV_1E26&SUBSYS_21FA17AA&REV_04\3&21436425&0&E8
  name = Intel(R) 7 Series/C216 Chipset Family USB Enhanced Host Controller - 1E26
  hwid = PCI\VEN_8086&DEV_1E26&SUBSYS_21FA17AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E26&SUBSYS_21FA17AA
  hwid = PCI\VEN_8086&DEV_1E26&CC_0C0320
  hwid = PCI\VEN_8086&DEV_1E26&CC_0C03
  compatid = PCI\VEN_8086&DEV_1E26&REV_04
  compatid = PCI\VEN_8086&DEV_1E26
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
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\ven_8086&cc_0c0320

device PCI\VEN_8086&DEV_1E20&SUBSYS_21FA17AA&REV_04\3&21436425&0&D8
  name = High Definition Audio Controller
  hwid = PCI\VEN_8086&DEV_1E20&SUBSYS_21FA17AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E20&SUBSYS_21FA17AA
  hwid = PCI\VEN_8086&DEV_1E20&CC_040300
  hwid = PCI\VEN_8086&DEV_1E20&CC_0403
  compatid = PCI\VEN_8086&DEV_1E20&REV_04
  compatid = PCI\VEN_8086&DEV_1E20
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

device HDAUDIO\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA&REV_1002\4&2B57F41F&0&0001
  name = Realtek High Definition Audio
  hwid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA&REV_1002
  hwid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0269&SUBSYS_17AA21FA
  compatid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0269&REV_1002
  compatid = HDAUDIO\FUNC_01&VEN_10EC&DEV_0269
  compatid = HDAUDIO\FUNC_01&VEN_10EC
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = Realtek
  service = IntcAzAudAddService
  inf = oem25.inf
  section = IntcAzAudModel
  version = 6.0.1.6657
  date = 5-24-2012
  provider = Realtek Semiconductor Corp.
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_10ec&dev_0269&subsys_17aa21fa

device HDAUDIO\FUNC_01&VEN_8086&DEV_2806&SUBSYS_80860101&REV_1000\4&2B57F41F&0&0301
  name = Intel(R) Display Audio
  hwid = HDAUDIO\FUNC_01&VEN_8086&DEV_2806&SUBSYS_80860101&REV_1000
  hwid = HDAUDIO\FUNC_01&VEN_8086&DEV_2806&SUBSYS_80860101
  compatid = HDAUDIO\FUNC_01&VEN_8086&DEV_2806&REV_1000
  compatid = HDAUDIO\FUNC_01&VEN_8086&DEV_2806
  compatid = HDAUDIO\FUNC_01&VEN_8086
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = Intel(R) Corporation
  service = IntcDAud
  inf = oem15.inf
  section = IntcDAud.DisplayAudio
  version = 6.14.0.3090
  date = 4-28-2012
  provider = Intel(R) Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = hdaudio\func_01&ven_8086&dev_2806

device HDAUDIO\FUNC_02&VEN_14F1&DEV_2C06&SUBSYS_17AA2124&REV_1000\4&2B57F41F&0&0002
  name = HDAUDIO Soft Data Fax Modem with SmartCP
  hwid = HDAUDIO\FUNC_02&VEN_14F1&DEV_2C06&SUBSYS_17AA2124&REV_1000
  hwid = HDAUDIO\FUNC_02&VEN_14F1&DEV_2C06&SUBSYS_17AA2124
  compatid = HDAUDIO\FUNC_02&VEN_14F1&DEV_2C06&REV_1000
  compatid = HDAUDIO\FUNC_02&VEN_14F1&DEV_2C06
  compatid = HDAUDIO\FUNC_02&VEN_14F1
  compatid = HDAUDIO\FUNC_02
  class = Modem
  mfg = Conexant
  service = CAX_CNXT
  inf = oem27.inf
  section = Modem01
  version = 7.80.4.50
  date = 1-14-2012
  provider = Conexant
  matching = hdaudio\func_02&ven_14f1&dev_2c06
  rank = 0x00ff0001

device HDAUDIO\FUNC_01&VEN_10EC&SUBSYS_17AA21FA\4&2B57F41F&0&0101
  name = Audio Device on High Definition Audio Bus
  hwid = HDAUDIO\FUNC_01&VEN_10EC&SUBSYS_17AA21FA
  compatid = HDAUDIO\FUNC_01
  class = MEDIA
  mfg = Microsoft
  problem = 28

device PCI\VEN_8086&DEV_1E03&SUBSYS_21F317AA&REV_04\3&21436425&0&FA
  name = Intel(R) 7 Series Chipset Family SATA AHCI Controller
  hwid = PCI\VEN_8086&DEV_1E03&SUBSYS_21F317AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E03&SUBSYS_21F317AA
  hwid = PCI\VEN_8086&DEV_1E03&CC_010601
  hwid = PCI\VEN_8086&DEV_1E03&CC_0106
  compatid = PCI\VEN_8086&DEV_1E03&REV_04
  compatid = PCI\VEN_8086&DEV_1E03
  compatid = PCI\VEN_8086&CC_010601
  compatid = PCI\VEN_8086&CC_0106
  compatid = PCI\VEN_8086
  compatid = PCI\CC_010601
  compatid = PCI\CC_0106
  class = HDC
  mfg = Intel Corporation
  service = iaStorA
  location = PCI bus 0, device 31, function 2
  inf = oem30.inf
  section = iaStorA_Inst
  version = 11.5.0.1207
  date = 6-26-2012
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_1e03&cc_0106

device PCI\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\3&21436425&0&FB
  name = SM Bus Controller
  hwid = PCI\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E22&SUBSYS_21F317AA
  hwid = PCI\VEN_8086&DEV_1E22&CC_0C0500
  hwid = PCI\VEN_8086&DEV_1E22&CC_0C05
  compatid = PCI\VEN_8086&DEV_1E22&REV_04
  compatid = PCI\VEN_8086&DEV_1E22
  compatid = PCI\VEN_8086&CC_0C0500
  compatid = PCI\VEN_8086&CC_0C05
  compatid = PCI\VEN_8086
  compatid = PCI\CC_0C0500
  compatid = PCI\CC_0C05
  location = PCI bus 0, device 31, function 3

device PCI\VEN_8086&DEV_1E3A&SUBSYS_21F317AA&REV_04\3&21436425&0&B0
  name = Intel(R) Management Engine Interface
  hwid = PCI\VEN_8086&DEV_1E3A&SUBSYS_21F317AA&REV_04
  hwid = PCI\VEN_8086&DEV_1E3A&SUBSYS_21F317AA
  hwid = PCI\VEN_8086&DEV_1E3A&CC_078000
  hwid = PCI\VEN_8086&DEV_1E3A&CC_0780
  compatid = PCI\VEN_8086&DEV_1E3A&REV_04
  compatid = PCI\VEN_8086&DEV_1E3A
  compatid = PCI\VEN_8086&CC_078000
  compatid = PCI\VEN_8086&CC_0780
  compatid = PCI\VEN_8086
  compatid = PCI\CC_078000
  compatid = PCI\CC_0780
  class = System
  mfg = Intel
  service = HECIx64
  location = PCI bus 0, device 22, function 0
  inf = oem11.inf
  section = HECI_Install
  version = 8.1.0.1248
  date = 6-4-2012
  provider = Intel
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_1e3a

device PCI\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\3&21436425&0&C8
  name = Intel(R) 82579LM Gigabit Network Connection
  hwid = PCI\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04
  hwid = PCI\VEN_8086&DEV_1502&SUBSYS_21F317AA
  hwid = PCI\VEN_8086&DEV_1502&CC_020000
  hwid = PCI\VEN_8086&DEV_1502&CC_0200
  compatid = PCI\VEN_8086&DEV_1502&REV_04
  compatid = PCI\VEN_8086&DEV_1502
  compatid = PCI\VEN_8086&CC_020000
  compatid = PCI\VEN_8086&CC_0200
  compatid = PCI\VEN_8086
  compatid = PCI\CC_020000
  compatid = PCI\CC_0200
  class = Net
  mfg = Intel
  service = e1cexpress
  location = PCI bus 0, device 25, function 0
  inf = oem12.inf
  section = E1502.6.1.1
  version = 12.0.150.0
  date = 5-31-2012
  provider = Intel
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_1502&subsys_21f317aa

device PCI\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34\4&31C7BDF7&0&00E2
  name = Intel(R) Centrino(R) Advanced-N 6205
  hwid = PCI\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34
  hwid = PCI\VEN_8086&DEV_0085&SUBSYS_13118086
  hwid = PCI\VEN_8086&DEV_0085&CC_028000
  hwid = PCI\VEN_8086&DEV_0085&CC_0280
  compatid = PCI\VEN_8086&DEV_0085&REV_34
  compatid = PCI\VEN_8086&DEV_0085
  compatid = PCI\VEN_8086&CC_028000
  compatid = PCI\VEN_8086&CC_0280
  compatid = PCI\VEN_8086
  compatid = PCI\CC_028000
  compatid = PCI\CC_0280
  class = Net
  mfg = Intel Corporation
  service = NETwNs64
  location = PCI bus 3, device 0, function 0
  inf = oem31.inf
  section = MPX6205_HMC_7
  version = 15.1.1.1
  date = 7-10-2012
  provider = Intel
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = pci\ven_8086&dev_0085&subsys_13118086

device PCI\VEN_1180&DEV_E823&SUBSYS_21F317AA&REV_07\4&2D2B2B9&0&00E4
  name = SDA Standard Compliant SD Host Controller
  hwid = PCI\VEN_1180&DEV_E823&SUBSYS_21F317AA&REV_07
  hwid = PCI\VEN_1180&DEV_E823&SUBSYS_21F317AA
  hwid = PCI\VEN_1180&DEV_E823&CC_080501
  hwid = PCI\VEN_1180&DEV_E823&CC_0805
  compatid = PCI\VEN_1180&DEV_E823&REV_07
  compatid = PCI\VEN_1180&DEV_E823
  compatid = PCI\VEN_1180&CC_080501
  compatid = PCI\VEN_1180&CC_0805
  compatid = PCI\VEN_1180
  compatid = PCI\CC_080501
  compatid = PCI\CC_0805
  class = SDHost
  mfg = SDA Standard Compliant SD Host Controller Vendor
  service = sdbus
  location = PCI bus 2, device 0, function 0
  inf = sdbus.inf
  section = SDHost_Inst
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = pci\cc_080501

device USB\ROOT_HUB30\4&1C2A3D8F&0
  name = USB Root Hub (xHCI)
  hwid = USB\ROOT_HUB30&VID8086&PID1E31&REV0004
  hwid = USB\ROOT_HUB30&VID8086&PID1E31
  hwid = USB\ROOT_HUB30
  class = USB
  mfg = Intel Corporation
  service = iusb3hub
  inf = oem23.inf
  section = ROOTHUB.Dev.NT
  version = 1.0.5.235
  date = 6-14-2012
  provider = Intel Corporation
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = usb\root_hub30

device USB\ROOT_HUB20\4&2851D18A&0
  name = USB Root Hub
  hwid = USB\ROOT_HUB20&VID8086&PID1E2D&REV0004
  hwid = USB\ROOT_HUB20&VID8086&PID1E2D
  hwid = USB\ROOT_HUB20
  class = USB
  mfg = (Standard USB Host Controller)
  service = usbhub
  inf = usbport.inf
  section = ROOTHUB.Dev.NT
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\root_hub20

device USB\ROOT_HUB20\4&3A08D2D3&0
  name = USB Root Hub
  hwid = USB\ROOT_HUB20&VID8086&PID1E26&REV0004
  hwid = USB\ROOT_HUB20&VID8086&PID1E26
  hwid = USB\ROOT_HUB20
  class = USB
  mfg = (Standard USB Host Controller)
  service = usbhub
  inf = usbport.inf
  section = ROOTHUB.Dev.NT
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\root_hub20

device USB\VID_8087&PID_0024\5&1A8D4A2C&0&1
  name = Generic USB Hub
  hwid = USB\VID_8087&PID_0024&REV_0000
  hwid = USB\VID_8087&PID_0024
  compatid = USB\Class_09&SubClass_00&Prot_01
  compatid = USB\Class_09&SubClass_00
  compatid = USB\Class_09
  class = USB
  mfg = (Generic USB Hub)
  service = usbhub
  location = Port_#0001.Hub_#0001
  inf = usb.inf
  section = StandardHub.Dev.NT
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_09

device USB\VID_8087&PID_0024\5&2D4C91F0&0&1
  name = Generic USB Hub
  hwid = USB\VID_8087&PID_0024&REV_0000
  hwid = USB\VID_8087&PID_0024
  compatid = USB\Class_09&SubClass_00&Prot_01
  compatid = USB\Class_09&SubClass_00
  compatid = USB\Class_09
  class = USB
  mfg = (Generic USB Hub)
  service = usbhub
  location = Port_#0001.Hub_#0002
  inf = usb.inf
  section = StandardHub.Dev.NT
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_09

device USB\VID_17EF&PID_4816&MI_00\6&38C1AF5&0&0000
  name = Integrated Camera
  hwid = USB\VID_17EF&PID_4816&REV_0033&MI_00
  hwid = USB\VID_17EF&PID_4816&MI_00
  compatid = USB\Class_0E&SubClass_01&Prot_00
  compatid = USB\Class_0E&SubClass_01
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
  matching = usb\class_0e&subclass_01

device USB\VID_0A5C&PID_21E6\A0B5E4A2C5D9
  name = ThinkPad Bluetooth 4.0
  friendly = ThinkPad Bluetooth 4.0 Adapter
  hwid = USB\VID_0A5C&PID_21E6&REV_0112
  hwid = USB\VID_0A5C&PID_21E6
  compatid = USB\Class_FF&SubClass_01&Prot_01
  compatid = USB\Class_FF&SubClass_01
  compatid = USB\Class_FF
  class = Bluetooth
  mfg = Broadcom
  service = BTHUSB
  location = Port_#0004.Hub_#0003
  inf = oem40.inf
  section = BlueRAMUSB21E6
  version = 6.5.1.2610
  date = 11-15-2012
  provider = Broadcom
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = usb\vid_0a5c&pid_21e6

device USB\VID_147E&PID_2020\6&2A0B2F8D&0&3
  name = Upek Touch Fingerprint Sensor
  hwid = USB\VID_147E&PID_2020&REV_0002
  hwid = USB\VID_147E&PID_2020
  compatid = USB\Class_FF&SubClass_00&Prot_00
  compatid = USB\Class_FF&SubClass_00
  compatid = USB\Class_FF
  class = Biometric
  mfg = Upek
  service = TcUsb
  inf = oem33.inf
  section = UpekDriver.NTamd64
  version = 2.2.16.1
  date = 9-26-2011
  provider = Upek
  signer = Microsoft Windows Hardware Compatibility Publisher
  matching = usb\vid_147e&pid_2020
  problem = 10
  status = 0x01802400

device USB\VID_046D&PID_C52B\6&1D5F2A1&0&2
  name = USB Composite Device
  hwid = USB\VID_046D&PID_C52B&REV_1201
  hwid = USB\VID_046D&PID_C52B
  compatid = USB\DevClass_00&SubClass_00&Prot_00
  compatid = USB\DevClass_00&SubClass_00
  compatid = USB\DevClass_00
  compatid = USB\COMPOSITE
  class = USB
  mfg = (Standard USB Host Controller)
  service = usbccgp
  inf = usb.inf
  section = Composite.Dev.NT
  version = 6.1.7601.17586
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\composite

device HID\VID_046D&PID_C52B&MI_01&COL01\7&2A1B7E4C&0&0000
  name = HID-compliant mouse
  hwid = HID\VID_046D&PID_C52B&REV_1201&MI_01&Col01
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

device DISPLAY\LEN40A0\4&1B64B8B2&0&12345678&00&02
  name = Generic PnP Monitor
  hwid = MONITOR\LEN40A0
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
  matching = monitor\len40a0

device IDE\DISKSAMSUNG_SSD_840_PRO_SERIES______________DXM05B0Q\5&2E1C6A2&0&0.0.0
  name = SAMSUNG SSD 840 PRO Series ATA Device
  friendly = SAMSUNG SSD 840 PRO Series
  hwid = IDE\DiskSAMSUNG_SSD_840_PRO_Series______________DXM05B0Q
  hwid = SAMSUNG_SSD_840_PRO_Series______________DXM05B0Q
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

device SCSI\CDROM&VEN_MATSHITA&PROD_DVD-RAM_UJ8B0\4&2A4B6C8&0&010000
  name = MATSHITA DVD-RAM UJ8B0 ATA Device
  hwid = SCSI\CdRomMATSHITA_DVD-RAM_UJ8B0__1.00
  hwid = SCSI\CdRomMATSHITA_DVD-RAM_UJ8B0__
  hwid = SCSI\CdRom
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

device STORAGE\VOLUME\{5D6B1D2A-3B4C-11E2-A1B2-806E6F6E6963}#0000000000100000
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

device ROOT\LEGACY_BEEP\0000
  name = Beep
  class = LegacyDriver
  service = Beep

device ROOT\LEGACY_AFD\0000
  name = AFD
  class = LegacyDriver
  service = AFD

device ROOT\MS_AGILEVPNMINIPORT\0000
  name = WAN Miniport (IKEv2)
  hwid = ms_agilevpnminiport
  class = Net
  mfg = Microsoft
  service = RasAgileVpn
  inf = netavpna.inf
  section = Ndi-Mp-AgileVpn
  version = 6.1.7601.17514
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = ms_agilevpnminiport

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

device {5D624F94-8850-40C3-A3FA-A4FD2080BAF3}\VWIFIMP\5&3A9F6E5C&0&01
  name = Microsoft Virtual WiFi Miniport Adapter
  hwid = {5d624f94-8850-40c3-a3fa-a4fd2080baf3}\vwifimp
  class = Net
  mfg = Microsoft
  service = vwifimp
  inf = netvwifimp.inf
  section = vwifimp.ndi
  version = 6.1.7600.16385
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = {5d624f94-8850-40c3-a3fa-a4fd2080baf3}\vwifimp

device USB\VID_0781&PID_5567\4C530012450531101593
  name = USB Mass Storage Device
  hwid = USB\VID_0781&PID_5567&REV_0126
  hwid = USB\VID_0781&PID_5567
  compatid = USB\Class_08&SubClass_06&Prot_50
  compatid = USB\Class_08&SubClass_06
  compatid = USB\Class_08
  class = USB
  mfg = Compatible USB storage device
  service = USBSTOR
  present = no
  inf = usbstor.inf
  section = USBSTOR_BULK
  version = 6.1.7601.17577
  date = 6-21-2006
  provider = Microsoft
  signer = Microsoft Windows
  matching = usb\class_08&subclass_06&prot_50

service winmgmt
  display = Windows Management Instrumentation
  type = 0x20
  start = auto
  state = running
  image = %SystemRoot%\system32\svchost.exe -k netsvcs

service igfx
  company = Intel Corporation
