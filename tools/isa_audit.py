#!/usr/bin/env python3
"""Audits the per-class objects of static libraries.

Each archive member whose name ends in _<class>.cpp.o was compiled for one
processor class. The audit disassembles it and fails when it finds
  * an instruction above that class (ymm/zmm/opmask registers, FMA, AVX2,
    AVX-512 subsets the class lacks, SSE3/SSSE3/SSE4 forms in older classes), or
  * a weak (inline or template) symbol defined outside the class namespace
    lv_<class>::, which the linker might keep for callers of another class.
Members without a class suffix are baseline code and are checked as class 0
for instructions only.

Usage: isa_audit.py [--expect-violation KIND ...] archive.a ...
  KIND is 'instruction' or 'weak'. With --expect-violation the audit succeeds
  only when every named kind of violation was found (used to prove the audit
  catches what it claims to catch).
"""
import re
import subprocess
import sys

SUFFIXES = ["avx512mc", "avx512", "avx2", "avx", "sse42", "ssse3", "sse3", "sse2"]
CLASS_OF = {"sse2": 0, "sse3": 1, "ssse3": 2, "sse42": 3, "avx": 4, "avx2": 5, "avx512mc": 6, "avx512": 7}
MEMBER_RE = re.compile(r"_(" + "|".join(SUFFIXES) + r")\.(?:cpp|cc|c)\.o$")

SSE3 = set("addsubps addsubpd haddps haddpd hsubps hsubpd movddup movshdup movsldup lddqu fisttp fisttps fisttpl fisttpll monitor mwait".split())
SSSE3 = set("pshufb palignr pabsb pabsw pabsd phaddw phaddd phaddsw phsubw phsubd phsubsw pmaddubsw pmulhrsw psignb psignw psignd".split())
SSE41 = set("""blendps blendpd blendvps blendvpd pblendvb pblendw dpps dppd extractps insertps movntdqa mpsadbw
packusdw pcmpeqq pextrb pextrd pextrq phminposuw pinsrb pinsrd pinsrq pmaxsb pmaxsd pmaxud pmaxuw pminsb pminsd
pminud pminuw pmovsxbw pmovsxbd pmovsxbq pmovsxwd pmovsxwq pmovsxdq pmovzxbw pmovzxbd pmovzxbq pmovzxwd pmovzxwq
pmovzxdq pmuldq pmulld ptest roundps roundpd roundss roundsd""".split())
SSE42 = set("pcmpestri pcmpestrm pcmpistri pcmpistrm pcmpgtq crc32 crc32b crc32w crc32l crc32q popcnt".split())
BMI = set("andn bextr blsi blsmsk blsr tzcnt lzcnt bzhi mulx pdep pext rorx sarx shlx shrx".split())
FMA_RE = re.compile(r"^vf(n?)m(add|sub|addsub|subadd)\d{3}")
AVX1_VP = set("vpermilps vpermilpd vperm2f128 vptest".split())
AVX2_ONLY_RE = re.compile(r"^(vpbroadcast|vbroadcasti128|vperm2i128|vpermd$|vpermq$|vpermps$|vpermpd$|vinserti128|vextracti128|"
                          r"vpgather|vgather|vpmaskmov|vpsllv|vpsrlv|vpsrav|vpblendd)")
# Mnemonics that exist only with EVEX encoding (any AVX-512 subset).
AVX512_ONLY_RE = re.compile(r"^(vpternlog|vpermt2|vpermi2|vcompress|vexpand|vpcompress|vpexpand|vrcp14|vrsqrt14|vgetexp|vgetmant|vscalef|"
                            r"vfixupimm|vrndscale|vpmov[dq][bwd]|vpmovs[dq]|vpmovus|vpmovwb|vpmovswb|vpmovuswb|vcvtusi2|vcvtt?[sp][sd]2u|vcvtu|"
                            r"valign|vpro[lr]|vblendm|vpblendm|vpabsq|vpmaxsq|vpmaxuq|vpminsq|vpminuq|vpmullq|vfpclass|vrange|vreduce|"
                            r"vcvt\w*qq|vextract[fi](32|64)x|vinsert[fi](32|64)x|vbroadcast[fi](32|64)x|vpbroadcastm|vpconflict|vplzcnt|"
                            r"vpsraq|vpsravq|vdbpsadbw|vpermw|vpsllvw|vpsrlvw|vpsravw|vpmov[bwdq]2m|vpmovm2|vmovdq[au](8|16|32|64)|"
                            r"vptestn?m|vpcmpu?[bwdq]$|vcmpp[sd]|vshuf[fi](32|64)x|vrcp28|vrsqrt28|vexp2|vgatherpf|vscatterpf|"
                            r"vpscatter|vscatter|kmov|kand|kor|kxor|knot|kortest|kshift|kunpck|kadd|ktest)")
# AVX-512 BW: byte and word integer operations on zmm, and the wide opmask forms.
BW_ZMM_RE = re.compile(r"^(vpadd[bw]|vpadd[su]s[bw]|vpsub[bw]|vpsub[su]s[bw]|vpmullw|vpmulhu?w|vpmulhrsw|vpshufb|vpshuf[hl]w|vpalignr|"
                       r"vpack[su]s(wb|dw)|vpunpck[hl](bw|wd)|vpmov[sz]xbw|vpcmp(eq|gt)[bw]|vpcmpu?[bw]|vpmaddwd|vpmaddubsw|"
                       r"vps[lr][la]w|vpsraw|vpavg[bw]|vpmax[su][bw]|vpmin[su][bw]|vpabs[bw]|vpsadbw|vpmovu?s?wb|vpbroadcast[bw]|"
                       r"vpermw|vmovdqu(8|16)|vpblendm[bw]|vps[lr]ldq|vpmov[bw]2m|vpmovm2[bw]|vptestn?m[bw]|vdbpsadbw)")
DQ_RE = re.compile(r"^(vpmullq|vfpclass|vrange|vreduce|vcvt\w*qq|vcvtqq2|vcvtuqq2|vextract[fi]64x2|vextract[fi]32x8|vinsert[fi]64x2|"
                   r"vinsert[fi]32x8|vbroadcast[fi]32x2|vbroadcast[fi]64x2|vbroadcast[fi]32x8|vpmov[dq]2m|vpmovm2[dq])")
DQ_ZMM_RE = re.compile(r"^v(and|andn|or|xor)p[sd]$")
K_WIDE_RE = re.compile(r"^k(mov|and|andn|or|xor|xnor|not|ortest|test|shiftl|shiftr|add)[bdq]$|^kunpck(wd|dq)$")
ER_RE = re.compile(r"^(vrcp28|vrsqrt28|vexp2)")
PF_RE = re.compile(r"^(vgatherpf|vscatterpf)")
BEYOND7_RE = re.compile(r"^(vpermb|vpermi2b|vpermt2b|vpmultishiftqb|vpmadd52|vpdpbusd|vpdpwssd|vpopcnt|vpshufbitqmb|gf2p8|vgf2p8|"
                        r"vaes|vpclmulqdq|vcvtne2ps2bf16|vcvtneps2bf16|vdpbf16ps|vp2intersect|vpshld|vpshrd)")
FP16_RE = re.compile(r"^v\w*ph$|^v\w*sh$")
PREFIXES = {"rep", "repz", "repnz", "repe", "repne", "lock", "bnd", "notrack", "data16", "cs", "ds", "es", "ss", "fs", "gs",
            "addr32", "rex", "rex.w", "rex.b", "rex.x", "rex.r", "{vex}", "{vex3}", "{evex}", "{disp32}", "xacquire", "xrelease"}

HIGH_REG_RE = re.compile(r"%[xy]mm(1[6-9]|2\d|3[01])\b")


def instruction_violation(cls, mnem, ops):
    """Returns a reason text when the instruction is above class cls, else None."""
    has_ymm = "%ymm" in ops
    has_zmm = "%zmm" in ops
    has_k = re.search(r"%k[0-7]\b", ops) is not None
    vex = mnem.startswith("v") and mnem not in ("verr", "verw")
    if cls <= 3:
        if vex or has_ymm or has_zmm or has_k:
            return "AVX instruction in an SSE class"
        if cls < 1 and mnem in SSE3:
            return "SSE3 instruction"
        if cls < 2 and mnem in SSSE3:
            return "SSSE3 instruction"
        if cls < 3 and (mnem in SSE41 or mnem in SSE42):
            return "SSE4 instruction"
        if mnem in BMI:
            return "BMI instruction"
        return None
    if cls == 4:
        if has_zmm or has_k or HIGH_REG_RE.search(ops):
            return "AVX-512 register in the AVX class"
        if FMA_RE.match(mnem):
            return "FMA instruction in the AVX class"
        if AVX2_ONLY_RE.match(mnem) or AVX512_ONLY_RE.match(mnem):
            return "AVX2 or AVX-512 instruction in the AVX class"
        if mnem.startswith("vp") and has_ymm and mnem not in AVX1_VP:
            return "256-bit integer instruction (AVX2) in the AVX class"
        if mnem in BMI or mnem.startswith("vcvtph2ps") or mnem.startswith("vcvtps2ph"):
            return "BMI or F16C instruction in the AVX class"
        return None
    if cls == 5:
        if has_zmm or has_k or HIGH_REG_RE.search(ops):
            return "AVX-512 register in the AVX2 class"
        if AVX512_ONLY_RE.match(mnem):
            return "AVX-512 instruction in the AVX2 class"
        return None
    if cls == 6:
        if HIGH_REG_RE.search(ops):
            return "xmm/ymm16-31 (AVX-512 VL) in the many-core class"
        if K_WIDE_RE.match(mnem):
            return "byte/dword/qword opmask instruction (AVX-512 BW/DQ) in the many-core class"
        if DQ_RE.match(mnem) or (DQ_ZMM_RE.match(mnem) and has_zmm):
            return "AVX-512 DQ instruction in the many-core class"
        if BW_ZMM_RE.match(mnem) and has_zmm:
            return "AVX-512 BW instruction in the many-core class"
        if (AVX512_ONLY_RE.match(mnem) or has_k) and not has_zmm and not mnem.startswith("k") \
                and ("%xmm" in ops or "%ymm" in ops):
            return "EVEX instruction on xmm/ymm (AVX-512 VL) in the many-core class"
        if ER_RE.match(mnem) and not NATIVE_RCP28:
            return "AVX-512 ER instruction without the native reciprocal build switch"
        if PF_RE.match(mnem) or BEYOND7_RE.match(mnem):
            return "AVX-512 PF or later extension in the many-core class"
        return None
    # class 7
    if ER_RE.match(mnem) or PF_RE.match(mnem):
        return "AVX-512 ER/PF instruction in the AVX-512 class"
    if BEYOND7_RE.match(mnem) or (FP16_RE.match(mnem) and mnem not in ("vcvtph2ps", "vcvtps2ph")):
        return "AVX-512 extension beyond F/CD/BW/DQ/VL"
    return None


NATIVE_RCP28 = False


def split_members(text, header_re):
    """Splits tool output into {member: [lines]} using the member header regex."""
    members = {}
    current = None
    for line in text.splitlines():
        m = header_re.match(line)
        if m:
            current = m.group(1)
            members.setdefault(current, [])
            continue
        if current is not None:
            members[current].append(line)
    return members


def audit_archive(path):
    problems = []
    audited = 0
    dis = subprocess.run(["objdump", "-d", "--no-show-raw-insn", "-w", path],
                         capture_output=True, text=True, check=True).stdout
    for member, lines in split_members(dis, re.compile(r"^(\S+\.o):\s+file format")).items():
        m = MEMBER_RE.search(member)
        cls = CLASS_OF[m.group(1)] if m else 0
        audited += 1
        func = "?"
        for line in lines:
            fm = re.match(r"^[0-9a-f]+ <(.*)>:$", line)
            if fm:
                func = fm.group(1)
                continue
            im = re.match(r"^\s*[0-9a-f]+:\s+(.*)$", line)
            if not im:
                continue
            words = im.group(1).split()
            while words and words[0].lower() in PREFIXES:
                words = words[1:]
            if not words:
                continue
            mnem = words[0].lower()
            ops = " ".join(words[1:]).split("#")[0].split("<")[0]
            why = instruction_violation(cls, mnem, ops)
            if why:
                problems.append(("instruction", f"{path}({member}) class {cls}: {why}: "
                                                f"'{mnem} {ops.strip()}' in {func}"))
    syms = subprocess.run(["nm", "-C", "--defined-only", path], capture_output=True, text=True, check=True).stdout
    for member, lines in split_members(syms, re.compile(r"^(\S+\.o):$")).items():
        m = MEMBER_RE.search(member)
        if not m:
            continue
        ns = "lv_" + m.group(1) + "::"
        for line in lines:
            parts = line.split(None, 2)
            if len(parts) < 3:
                continue
            kind, name = parts[1], parts[2]
            if kind not in ("W", "V", "u"):
                continue
            if name.startswith("DW.ref.") or ns in name:
                continue
            problems.append(("weak", f"{path}({member}): weak symbol outside namespace {ns[:-2]}: {name}"))
    return problems, audited


def main(argv):
    global NATIVE_RCP28
    expect = set()
    files = []
    it = iter(argv)
    for a in it:
        if a == "--expect-violation":
            expect.add(next(it))
        elif a == "--native-rcp28":
            NATIVE_RCP28 = True
        else:
            files.append(a)
    if not files:
        print("isa_audit: no archives given")
        return 1
    problems = []
    audited = 0
    for f in files:
        p, n = audit_archive(f)
        problems += p
        audited += n
    if audited == 0:
        print("isa_audit: no objects found in", files)
        return 1
    if expect:
        found = {k for k, _ in problems}
        for _, text in problems:
            print("caught:", text)
        missing = expect - found
        if missing:
            print("isa_audit: expected violations not caught:", ", ".join(sorted(missing)))
            return 1
        print(f"isa_audit: caught every expected kind of violation ({', '.join(sorted(expect))})")
        return 0
    for _, text in problems:
        print(text)
    if problems:
        print(f"isa_audit: {len(problems)} violation(s) in {audited} object(s)")
        return 1
    print(f"isa_audit: {audited} object(s) clean")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
