; The peer installer: the same kit behind a licence page with an I Agree button, stored
; uncompressed. makensis -DKIT=dir -DLICENSE=file -DOUTFILE=file -DTARGET=amd64-unicode|x86-unicode
Target ${TARGET}
Unicode true
Name "Quorvane"
OutFile "${OUTFILE}"
SetCompress off
RequestExecutionLevel user
InstallDir "$TEMP\QuorvanePeer"
LicenseData "${LICENSE}"
Page license
Page instfiles
Section
  SetOutPath "$INSTDIR"
  File "${KIT}\_inst32i.ex_"
  File "${KIT}\_isdel.exe"
  File "${KIT}\_setup.1"
  File "${KIT}\_setup.dll"
  File "${KIT}\_setup.lib"
  File "${KIT}\Disk1.id"
  File "${KIT}\Setup.exe"
  File "${KIT}\Setup.ini"
  File "${KIT}\Setup.ins"
  File "${KIT}\Setup.pkg"
SectionEnd
