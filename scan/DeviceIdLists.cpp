// The scanner's built-in identifier lists: device classes, generic identifiers, identifiers
// kept although generic, and hardware ids that are never worth asking the service about.
#include "DeviceScanner.h"

#include <cstdint>
#include <vector>

#include "LoweredText.h"
#include "TextViews.h"

namespace {

const LPCTSTR kCategory[] = {
    _T("{50127dc3-0f36-415e-a6cc-4cb3be910b65}"), _T("{25dbce51-6c8f-4a72-8a6d-b54c2b4fc835}"),
    _T("{4658ee7e-f050-11d1-b6bd-00c04fa372a7}"), _T("{48721b56-6795-11d2-b1a8-0080c72e74a2}"),
    _T("{49ce6ac8-6f86-11d2-b1e5-0080c72e74a2}"), _T("{4d36e966-e325-11ce-bfc1-08002be10318}"),
    _T("{4d36e969-e325-11ce-bfc1-08002be10318}"), _T("{4d36e978-e325-11ce-bfc1-08002be10318}"),
    _T("{4d36e980-e325-11ce-bfc1-08002be10318}"), _T("{50906cb8-ba12-11d1-bf5d-0000f805f530}"),
    _T("{533c5b84-ec70-11d2-9505-00c04f79deaf}"), _T("{71a27cdd-812a-11d0-bec7-08002be2092f}"),
    _T("{72631e54-78a4-11d0-bcf7-00aa00b7b32a}"), _T("{4d36e971-e325-11ce-bfc1-08002be10318}"),
    _T("{50dd5230-ba8a-11d1-bf5d-0000f805f530}"), _T("{66f250d6-7801-4a64-b139-eea80a450b24}"),
    _T("{6bdd1fc5-810f-11d0-bec7-08002be2092f}"), _T("{7ebefbc0-3200-11d2-b4c2-00a0c9697d07}"),
    _T("{c06ff265-ae09-48f0-812c-16753d7cba83}"), _T("{ce5939ae-ebde-11d0-b181-0000f8753ec4}"),
    _T("{d45b1c18-c8fa-11d1-9f77-0000f805f530}"), _T("{d48179be-ec20-11d1-b6b8-00c04fa372a7}"),
    _T("{4d36e975-e325-11ce-bfc1-08002be10318}"), _T("{4d36e974-e325-11ce-bfc1-08002be10318}"),
    _T("{4d36e973-e325-11ce-bfc1-08002be10318}"), _T("{6bdd1fc6-810f-11d0-bec7-08002be2092f}"),
    _T("{6d807884-7d21-11cf-801c-08002be10318}")};

const LPCTSTR kGenericIdentifiers[] = {_T("acpi\\"), _T("acpi_hal\\"), _T("root\\"), _T("storage\\"),
                                       _T("ide\\"),  _T("umb\\"),      _T("pciide\\"), _T("ms_"),
                                       _T("pci\\cc_"), _T("usb\\class_")};

const LPCTSTR kIncludes[] = {_T("acpi\\pnp0a03"), _T("acpi\\pnp0f03")};

// In the order they were added; repeats simply overwrite.
const LPCTSTR kHardwareIds[] = {
    _T("usb\\root_hub"), _T("usb\\root_hub20"), _T("internal_ide_channel"), _T("secondary_ide_channel"),
    _T("11ab-6101"), _T("intel-2825"), _T("intel-2820"), _T("intel-2996"), _T("intel-244b"),
    _T("intel-27df"), _T("intel-27c0"), _T("scsi\\raw"), _T("scsi\\array"), _T("gendisk"), _T("gencdrom"),
    _T("monitor\\default_monitor"), _T("isapnp\\readdataport"), _T("logmein_mirror_driver"), _T("Disk"),
    _T("eh\\0"), _T("bsvcd"), _T("BTCAP"), _T("Intel"), _T("Modem"), _T("VSBUS"), _T("bsvcde"), _T("cFosBC"),
    _T("cp_vna"), _T("MDMGEN"), _T("tapvpn"), _T("uiusys"), _T("WANATW"), _T("CP_OMVA"), _T("ESI0108"),
    _T("gendisk"), _T("hamachi"), _T("MANYCAM"), _T("mdmgen3"), _T("ndisusb"), _T("pnetmdm"), _T("PNPC031"),
    _T("ramdisk"), _T("STETHID"), _T("tap0801"), _T("wsimdmp"), _T("atmeltpm"), _T("CAMTHWDM"),
    _T("cp_fw1mp"), _T("cp_scvna"), _T("CS_VirtA"), _T("dfmirage"), _T("dsncadpt"), _T("GAMEPORT"),
    _T("GenBcBus"), _T("gencdrom"), _T("NTSPPPOE"), _T("OBVIOUS6"), _T("pbsaudrv"), _T("SaiClass"),
    _T("SCSI\\RAW"), _T("splitcam"), _T("tm_cfwmp"), _T("USB\\Hasp"), _T("VADMulti"), _T("1002-4349"),
    _T("1002-4376"), _T("1002-4379"), _T("1002-437a"), _T("1002-4380"), _T("1002-438c"), _T("1002-4390"),
    _T("1002-4391"), _T("1002-439c"), _T("1022-209a"), _T("1022-7409"), _T("1022-7469"), _T("10de-0053"),
    _T("10de-0054"), _T("10de-0055"), _T("10de-0065"), _T("10de-0085"), _T("10de-008e"), _T("10de-00d5"),
    _T("10de-0171"), _T("10de-01bc"), _T("10de-0265"), _T("10de-0266"), _T("10de-0267"), _T("10de-036e"),
    _T("10de-037f"), _T("10de-03ec"), _T("10de-03f2"), _T("10de-03f6"), _T("10de-0448"), _T("10de-045d"),
    _T("10de-0550"), _T("10de-0560"), _T("10de-056c"), _T("10de-0759"), _T("10de-07f0"), _T("10de-0ab5"),
    _T("10de-0ad0"), _T("1106-0571"), _T("1106-0591"), _T("1106-3149"), _T("1106-3349"), _T("1106-5337"),
    _T("1106-5372"), _T("1166-0212"), _T("11ab-6101"), _T("11ab-6121"), _T("1283-8213"), _T("1394\\308D"),
    _T("1394\\A02D"), _T("197b-2360"), _T("197b-2361"), _T("197b-2363"), _T("197b-2368"), _T("cfos6link"),
    _T("dni_dnemp"), _T("dni_vapmp"), _T("HHVCS4SDK"), _T("MDMGEN288"), _T("MDMGEN336"), _T("moto1_gen"),
    _T("SCSI\\Disk"), _T("scsiarray"), _T("TAP0801co"), _T("VPCsystem"), _T("WINDIGO01"), _T("Afwrs-1090"),
    _T("ALiGamePor"), _T("AOL_WANDRV"), _T("Avqxg-1412"), _T("Bcnon-4503"), _T("Binwl-0125"),
    _T("Bobah-8541"), _T("Bwzkl-0981"), _T("Byfox-0763"), _T("Cdmdm-5472"), _T("CDROM\\OCDE"),
    _T("Cjida-3294"), _T("Clehk-5616"), _T("Czajo-5670"), _T("Dopet-6369"), _T("DOT4DEVICE"),
    _T("Dsvkt-8523"), _T("Efupq-7072"), _T("Ejwjq-9052"), _T("Ercps-1656"), _T("Ezyfq-9072"),
    _T("Fghml-8327"), _T("Fqtmd-8325"), _T("Gncfk-1090"), _T("Gpoha-5874"), _T("gr_avgfwmp"),
    _T("Gzuxw-5670"), _T("Hchgz-4541"), _T("Hcpyr-0547"), _T("Hepiv-6527"), _T("hid_device"),
    _T("Hqhyx-4565"), _T("Hqxcb-0983"), _T("Hsjsf-6947"), _T("Inkzi-7852"), _T("Intel-108d"),
    _T("Intel-2411"), _T("Intel-244b"), _T("Intel-248a"), _T("Intel-24ca"), _T("Intel-24cb"),
    _T("Intel-24d1"), _T("Intel-24db"), _T("Intel-25a2"), _T("Intel-2651"), _T("Intel-2652"),
    _T("Intel-2653"), _T("Intel-266f"), _T("Intel-27c0"), _T("Intel-27c1"), _T("Intel-27c4"),
    _T("Intel-27c5"), _T("Intel-27df"), _T("Intel-2820"), _T("Intel-2825"), _T("Intel-2828"),
    _T("Intel-2829"), _T("Intel-2850"), _T("Intel-2920"), _T("Intel-2921"), _T("Intel-2922"),
    _T("Intel-2926"), _T("Intel-2928"), _T("Intel-2929"), _T("Intel-292d"), _T("Intel-2996"),
    _T("Intel-29b6"), _T("Intel-2a06"), _T("Intel-3a20"), _T("Intel-3a26"), _T("Intel-7199"),
    _T("Intel-811a"), _T("Ircnu-7078"), _T("Ixavg-7252"), _T("Jkhqx-6989"), _T("jswscimdmp"),
    _T("Jwdin-6367"), _T("Jwlgt-6143"), _T("Kjmdg-3414"), _T("kl_klim5mp"), _T("Klavq-7614"),
    _T("Krkfk-5676"), _T("Lmnyp-6121"), _T("Lslep-6761"), _T("LTXMD_VAC2"), _T("Lybkl-6163"),
    _T("Mbkbm-1292"), _T("Mrijc-1036"), _T("Mxefw-5276"), _T("netimfltmp"), _T("NFORCE_VAD"),
    _T("Nmea\\PortA"), _T("Nsjsz-8961"), _T("Otwda-5074"), _T("Oxoxu-7498"), _T("Oxqjg-5290"),
    _T("Ozubi-3690"), _T("Qjcpa-7874"), _T("Qlwtm-3278"), _T("Qrcfu-3234"), _T("Qvczs-3070"),
    _T("QVE\\psa500"), _T("Rspyh-8961"), _T("Ryhmn-2383"), _T("Rylwb-2983"), _T("SCSI\\Array"),
    _T("SCSI\\CdRom"), _T("SCSI\\Other"), _T("Sfing-3872"), _T("Slylw-3090"), _T("Snwhi-1012"),
    _T("Tinsh-0103"), _T("Tupkf-0369"), _T("Twhcb-4581"), _T("UB_FIRENET"), _T("Ulmvw-5674"),
    _T("Ulyfa-5074"), _T("Uvove-9816"), _T("Uzajc-7410"), _T("VDRV9_HWID"), _T("Wdwla-5852"),
    _T("Wfwjs-7858"), _T("Wfyxo-1896"), _T("Whwle-5452"), _T("Wjwjo-5050"), _T("Wpkvs-1892"),
    _T("Wtwti-5854"), _T("Wvcxs-7212"), _T("Xklyx-2101"), _T("Xkvyf-4925"), _T("Yfmpa-1676"),
    _T("Yrwzk-7212"), _T("Yvenm-5030"), _T("Yxkve-7478"), _T("Yzuxw-5810"), _T("Zizwb-2705"),
    _T("Zkbmd-0369"), _T("Zstih-4785"), _T("ASUSVRCENUM"), _T("intel_wcamp"), _T("Intel-PIIX4"),
    _T("MCT\\USB2VGA"), _T("NT_IPSECSHM"), _T("RB_PPPOEWIN"), _T("rp_miniport"), _T("SD\\CLASS_07"),
    _T("stm-atmadsl"), _T("tsmpacketmp"), _T("USB\\UNKNOWN"), _T("USBSTOR\\RAW"), _T("zk_miniport"),
    _T("ACPI\\PNP0A03"), _T("ACPI\\PNP0F03"), _T("av_fltdev9mp"), _T("cfosspeed_mp"), _T("DOT4FUNCTION"),
    _T("hwid_vrvd302"), _T("lu_luipsecmp"), _T("MCT\\USB2VGAM"), _T("mfe_firehkmp"), _T("nt_eacfiltmp"),
    _T("nt_inspectmp"), _T("NTPAD\\Driver"), _T("RIMMPTSK\\RAW"), _T("RIMSPTSK\\RAW"), _T("RISDPTSK\\RAW"),
    _T("root\\a347bus"), _T("RPBOOT\\AUDIO"), _T("SERIAL_MOUSE"), _T("symc_SymIMmp"), _T("TPPIOSTB\\RAW"),
    _T("usb\\root_hub"), _T("USBSTOR\\Disk"), _T("wikitek_ssmp"), _T("[~]ramdisk[~]"), _T("aventailngvpn"),
    _T("devwhore\\cled"), _T("DISPLAY\\nvcap"), _T("HID\\HID_MOUSE"), _T("MF\\FE560_DEV0"),
    _T("MF\\FE560_DEV1"), _T("net6_filtermp"), _T("odysseyIM3_mp"), _T("odysseyIM4_mp"),
    _T("RIMSPTSK\\Disk"), _T("RISDPTSK\\Disk"), _T("rs_rfwbase9mp"), _T("sb_SBFWIMclmp"),
    _T("SDBUS\\MM_CARD"), _T("SONYWBMS\\Disk"), _T("stream\\btxbar"), _T("Stream\\PhTMI3"),
    _T("sw_BdfndisfMP"), _T("tm_passthrump"), _T("UIM\\PLUGIN_DB"), _T("USB\\Class_099"),
    _T("usb\\composite"), _T("USBSTOR\\CdRom"), _T("USBSTOR\\Other"), _T("wpdbusenum\\fs"),
    _T("HID\\WACOMVTHID"), _T("ISAPNP\\SLI4161"), _T("KORG\\JamVOX_01"), _T("loytec_nic_sup"),
    _T("mf\\acpmodem437"), _T("RTSTOR\\GenDisk"), _T("SCSI\\Processor"), _T("stream\\lvtuner"),
    _T("stream\\tunerfm"), _T("stream\\tunerfq"), _T("stream\\txtuner"), _T("sun_vboxnetadp"),
    _T("symc_teefer2mp"), _T("TPPIOSTB\\CdRom"), _T("UltraMonMirror"), _T("usb\\root_hub20"),
    _T("V1394\\MLAN_BUS"), _T("GEN_SCSIADAPTER"), _T("gsmunimodem0002"), _T("hdaudio\\func_01"),
    _T("HDAUDIO\\FUNC_02"), _T("HID\\SaitekMouse"), _T("LEGACY\\JOYSTICK"), _T("MONITOR\\@@@0000"),
    _T("Monitor\\@@@07E7"), _T("PCI\\VEN_1039&CC"), _T("PCI_HAL\\PNP0A03"), _T("RPBOOT\\JOYSTICK"),
    _T("s4e_lnsdrivermp"), _T("s4e_PCTDrivermp"), _T("stream\\phtvtune"), _T("Cntx_VPCNetS2_MP"),
    _T("detected\\sparrow"), _T("display\\wadv01nt"), _T("INTELATA\\Channel"), _T("LOGITECH_RAW_PDO"),
    _T("RIMMPTSK\\Disk_SD"), _T("sd\\class_storage"), _T("Stream\\atibtxbar"), _T("sun_VBoxNetFltmp"),
    _T("unimodem0be76ea7"), _T("unimodemdebc3e9f"), _T("USB\\Root_HubNull"), _T("video\\ntativlm61"),
    _T("bb_capture_driver"), _T("canonbjc-2100fe1c"), _T("CIRCLASS\\IrDevice"), _T("COMPOSITE_BATTERY"),
    _T("dot4\\print_hphi11"), _T("dot4\\store_hphi11"), _T("DsAudioDevice_207"), _T("HID\\SaitekHotKeys"),
    _T("None\\CompatibleID"), _T("pci_gdihook5_hwid"), _T("ramdisk\\ramvolume"), _T("RIMSPTSK\\PRO-Disk"),
    _T("stream\\avertvtune"), _T("VNC_Mirror_Driver"), _T("FABULATECH\\ftusbhc"), _T("generic_hid_device"),
    _T("HID\\SaitekKeyboard"), _T("netimfltmp01050097"), _T("PsxPort\\GameDevice"),
    _T("SBP2\\24734&66776&0"), _T("stream\\7130tvtuner"), _T("usb\\hpnu_composite"),
    _T("usb\\ms_comp_xusb10"), _T("fabulatech\\ftusbhub"), _T("gameport\\gamedevice"),
    _T("OPTIONBUS\\GT72V_MDM"), _T("OPTIONBUS\\GT72V_NET"), _T("primary_ide_channel"),
    _T("USB\\MS_COMP_BLUTUTH"), _T("FlashMedia\\SdDevice1"), _T("internal_ide_channel"),
    _T("MODEMWAVE\\FullDuplex"), _T("MODEMWAVE\\HALFDUPLEX"), _T("OPTIONBUS\\GTM_FF_NET"),
    _T("OPTIONBUS\\GTM_FF_SER"), _T("OPTIONBUS\\GTS_FF_NET"), _T("wsc_WscNetDrFiltermp"),
    _T("landesk_mirror_driver"),
};

template <class List, std::size_t N>
void Fill(List& list, const LPCTSTR (&keys)[N]) {
  for (LPCTSTR key : keys) list.Add(key);
}

// Whether any of the texts (each starting with an ASCII unit) occurs in `text`: one pass,
// trying at each position the texts that start with its unit.
class CAnyOf {
 public:
  template <std::size_t N>
  explicit CAnyOf(const LPCTSTR (&texts)[N]) {
    for (LPCTSTR text : texts) {
      m_byFirst[text[0]].push_back(text);
      m_firsts[text[0] / 64] |= 1ull << (text[0] % 64);
    }
  }
  bool FoundIn(std::u16string_view text) const {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const WCHAR c = text[i];
      if (c >= 0x80 || (m_firsts[c / 64] >> (c % 64) & 1) == 0) continue;
      for (const std::u16string_view candidate : m_byFirst[c])
        if (text.substr(i, candidate.size()) == candidate) return true;
    }
    return false;
  }

 private:
  std::vector<std::u16string_view> m_byFirst[0x80];
  std::uint64_t m_firsts[2] = {};  // the first units, one bit each
};

}  // namespace

void CDeviceScanner::GetBuiltInSection(LPCTSTR section, IdentifierSet& list) const {
  const CString name = section;
  if (name == _T("Category")) Fill(list, kCategory);
  else if (name == _T("GenericIdentifiers")) Fill(list, kGenericIdentifiers);
  else if (name == _T("Includes")) Fill(list, kIncludes);
  else if (name == _T("HardwareIds")) Fill(list, kHardwareIds);
}

void CDeviceScanner::LoadIdLists() {
  m_mapCategory.Clear();
  m_mapGenericIdentifiers.Clear();
  m_mapIncludes.Clear();
  m_mapHardwareIds.Clear();
  GetBuiltInSection(_T("Category"), m_mapCategory);
  GetBuiltInSection(_T("GenericIdentifiers"), m_mapGenericIdentifiers);
  GetBuiltInSection(_T("Includes"), m_mapIncludes);
  GetBuiltInSection(_T("HardwareIds"), m_mapHardwareIds);
}

bool CDeviceScanner::TestHardwareId(const CString& classText, const CString& id) const {
  if (m_mapCategory.Contains(View(classText))) return true;
  return TestIdentifier(View(id));
}

bool CDeviceScanner::TestIdentifier(std::u16string_view id) const {
  if (id.empty()) return false;
  const CLoweredText lowered(id);
  const std::u16string_view lower = lowered.View();
  if (m_mapIncludes.Contains(lower)) return false;
  if (lower[0] == _T('*')) return true;
  static const CAnyOf generic(kGenericIdentifiers);
  if (generic.FoundIn(lower)) return true;
  const bool noDevice = lower.find(u"dev_") == std::u16string_view::npos;
  if (noDevice && (lower.find(u"pci\\ven_") != std::u16string_view::npos ||
                   lower.find(u"hdaudio\\func_01") != std::u16string_view::npos))
    return true;
  return m_mapHardwareIds.Contains(lower);
}
