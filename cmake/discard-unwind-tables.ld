/* SETUP.EXE (32-bit) throws no exception and registers no unwind tables: the few that the
   C++ library's own objects bring are never read, so they are left out of the file. */
SECTIONS
{
  /DISCARD/ : { *(.eh_frame) *(.eh_frame$*) }
}
INSERT BEFORE .text;
