#!/usr/bin/env python3
"""Writes an MPEG-TS like a recording of a Japanese digital TV broadcast (ISDB-T, ARIB captions).

usage: broadcast_recording.py OUTPUT.ts [options]

ffmpeg encodes and muxes the pictures and sound; the packets are then reworked here: the PMTs are
rebuilt as a broadcaster sends them, ARIB caption PES packets are added on a PID of their own, and
the timestamps are moved to where --pts-start asks.

What a recording holds, per service (the first is the main one):
  video   1080i at 30000/1001 frames a second, top field first, really interlaced (each field is
          its own moment of a moving testsrc2 pattern), GOP of 15 (IBBP), BT.709. --video mpeg2
          (stream_type 0x02) or h264 (0x1b). --size 1440x1080 is sent with a 4:3 sample aspect
          ratio, so it shows as 16:9. Services after the first are 720x480 (16:9) of testsrc.
  audio   AAC-LC 48 kHz in ADTS (stream_type 0x0f), one frame per PES, a tone per channel:
          stereo L 440 Hz, R 880 Hz; 5.1 FL 440, FR 880, FC 660, LFE 60, BL 550, BR 770.
          Service k (from 0) after the first has L 440+110k Hz, R twice that.
  PIDs    service k: service_id 0x0400+k, PMT 0x1FC8+k, video 0x0111+0x100k, audio 0x0112+0x100k,
          captions (main service only) 0x0130. Component tags 0x00 video, 0x10 audio, 0x30 captions.

Options:
  --video mpeg2|h264     video codec (mpeg2)
  --size WxH             1440x1080 or 1920x1080 (1440x1080)
  --seconds S            length of the video, 1 to 60 (6)
  --audio-lead S         the audio's first PTS lies S seconds before the video's first PTS, -2 to 3
                         (0.5); negative puts it after
  --surround-from S      the main audio turns from stereo to 5.1 at S seconds after the video's
                         start (to the nearest AAC frame) and stays 5.1; PTS run on without a gap
  --cut-mid-gop          the recording starts inside a GOP: the first video PES is a B picture
                         whose references are missing (the I and P pictures before it are cut
                         away); the audio still starts whole, --audio-lead before it
  --programs N           N services, 1 to 8 (1)
  --pts-start S          the first PTS in the file, in seconds (1.4); put it near 95443.7
                         (2^33/90000) for timestamps that wrap part-way
  --captions FILE.json   ARIB caption events, a list of objects:
                           {"at": 1.0, "text": "日本語のテキスト\\n二行目"}   shown at 1.0 s
                           {"at": 3.0, "clear": true}                         screen cleared
                           {"at": 3.5, "switch_group": true}  later data groups go to the other
                                                              group (A 0x0n <-> B 0x2n)
                         "at" counts from the video's first PTS; "language": 2 puts an event in
                         the second caption language; "damage": "crc" or "truncate" breaks that
                         one statement. Text must be in JIS X 0208; ASCII letters, digits and
                         signs (but \\ and ~) go in the alphanumeric set at middle size.
  --caption-stream KIND  normal (the default with --captions), empty (in the PMT, no packets),
                         management-only (only caption management data), broken (as normal, but
                         the 2nd, 4th, 6th ... statement with text is damaged, alternately by a
                         wrong CRC-16 and by a data group cut short to half its data, without
                         CRC). Without --captions a built-in sample is used.
  --summary FILE.json    also writes what was made: PIDs, first PTS, each caption PES

Captions: one PES stream (stream_id 0xbd, stream_type 0x06) with a stream_identifier_descriptor
and a data_component_descriptor (0x0008, captions) in the PMT. Each PES carries one data group:
caption management (at the recording's start, then every 1.5 s) or a caption statement. A
statement is CS, the screen format (SWF, SDF, SDP, SSM, SHS, SVS), then each line placed with APS
(first line) or APR (next lines), coloured WHF/YLF in turn; kanji and katakana as 2-byte G0 codes,
hiragana as 1-byte GR codes (G2). A clear is CS alone.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field

CLOCK = 90000
WRAP = 1 << 33
FRAME_TICKS = 3003  # 1001/30000 s
AAC_FRAME_TICKS = 1920  # 1024 samples at 48 kHz
TS_SIZE = 188
CAPTION_PID = 0x0130
MANAGEMENT_EVERY = 1.5  # seconds between caption management data groups

STEREO_TONES = (440, 880)
SURROUND_TONES = (440, 880, 660, 60, 550, 770)  # ffmpeg's 5.1 order: FL FR FC LFE BL BR


@dataclass
class Service:
    index: int
    width: int
    height: int
    sar: str
    pattern: str
    tones: tuple

    @property
    def service_id(self):
        return 0x0400 + self.index

    @property
    def pmt_pid(self):
        return 0x1FC8 + self.index

    @property
    def video_pid(self):
        return 0x0111 + 0x100 * self.index

    @property
    def audio_pid(self):
        return 0x0112 + 0x100 * self.index


@dataclass
class CaptionPes:
    pts: int
    order: int
    kind: str  # "management", "statement", or "switch" (sent as management in the other group)
    language: int = 0
    text: str = ""
    clear: bool = False
    damage: str = ""
    packets: list = field(default_factory=list)


# ---------------------------------------------------------------- arguments

BUILT_IN_CAPTIONS = [
    {"at": 0.5, "text": "こんにちは、字幕のテストです\n二行目もあります"},
    {"at": 2.0, "clear": True},
    {"at": 2.5, "text": "ABC 123 と漢字カタカナ"},
    {"at": 2.5, "language": 2, "text": "Second language"},
    {"at": 4.0, "clear": True},
    {"at": 4.0, "language": 2, "clear": True},
    {"at": 4.5, "text": "終わり"},
]


def parse_arguments(argv):
    title, usage, rest = __doc__.split("\n\n", 2)
    parser = argparse.ArgumentParser(description=title, usage=usage.removeprefix("usage: "), epilog=rest,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("output")
    parser.add_argument("--video", choices=("mpeg2", "h264"), default="mpeg2")
    parser.add_argument("--size", choices=("1440x1080", "1920x1080"), default="1440x1080")
    parser.add_argument("--seconds", type=float, default=6.0)
    parser.add_argument("--audio-lead", type=float, default=0.5)
    parser.add_argument("--surround-from", type=float)
    parser.add_argument("--cut-mid-gop", action="store_true")
    parser.add_argument("--programs", type=int, default=1)
    parser.add_argument("--pts-start", type=float, default=1.4)
    parser.add_argument("--captions")
    parser.add_argument("--caption-stream", choices=("normal", "empty", "management-only", "broken"))
    parser.add_argument("--summary")
    options = parser.parse_args(argv)
    checks = [
        (1 <= options.seconds <= 60, "--seconds must be from 1 to 60"),
        (-2 <= options.audio_lead <= 3, "--audio-lead must be from -2 to 3"),
        (1 <= options.programs <= 8, "--programs must be from 1 to 8"),
        (0 <= options.pts_start < WRAP / CLOCK, "--pts-start must be from 0 to below 2^33/90000"),
        (options.surround_from is None
         or -options.audio_lead < options.surround_from < options.seconds - 0.1,
         "--surround-from must fall inside the audio"),
    ]
    for ok, message in checks:
        if not ok:
            parser.error(message)
    if options.captions and not options.caption_stream:
        options.caption_stream = "normal"
    return options


def load_caption_events(options):
    if not options.caption_stream:
        return []
    if not options.captions:
        return BUILT_IN_CAPTIONS
    with open(options.captions, encoding="utf-8") as source:
        try:
            events = json.load(source)
        except json.JSONDecodeError as error:
            raise ValueError(f"{options.captions}: {error}") from None
    if not isinstance(events, list):
        raise ValueError(f"{options.captions}: the captions must be a JSON list of events")
    for event in events:
        if not isinstance(event, dict) or not isinstance(event.get("at"), (int, float)):
            raise ValueError(f"{options.captions}: every event needs a number 'at': {event!r}")
        if sum(key in event for key in ("text", "clear", "switch_group")) != 1:
            raise ValueError(f"{options.captions}: an event has one of text, clear, switch_group: {event!r}")
        if event.get("language", 1) not in (1, 2):
            raise ValueError(f"{options.captions}: language is 1 or 2: {event!r}")
        if event.get("damage", "crc") not in ("crc", "truncate"):
            raise ValueError(f"{options.captions}: damage is crc or truncate: {event!r}")
    return events


def services_for(options):
    width, height = (int(n) for n in options.size.split("x"))
    main = Service(0, width, height, "4/3" if width == 1440 else "1/1", "testsrc2", STEREO_TONES)
    subs = [Service(k, 720, 480, "32/27", "testsrc", (440 + 110 * k, 2 * (440 + 110 * k)))
            for k in range(1, options.programs)]
    return [main] + subs


# ---------------------------------------------------------------- ffmpeg

def run(*commands):
    """Runs the commands side by side: one encoder alone keeps only one of two cores busy."""
    running = [(subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True), command)
               for command in commands]
    failures = []
    for process, command in running:
        errors = process.communicate()[1]
        if process.returncode != 0:
            failures.append(f"{command[0]} failed ({process.returncode}): {errors.strip()[-2000:]}")
    if failures:
        raise RuntimeError("\n".join(failures))


def video_codec_arguments(codec, main):
    if codec == "mpeg2":
        rate = "12M" if main else "4M"
        return ["-c:v", "mpeg2video", "-flags", "+ilme+ildct", "-top", "1", "-g", "15", "-bf", "2",
                "-sc_threshold", "1000000000", "-b:v", rate, "-maxrate", "20M", "-bufsize", "9781248"]
    # b-adapt=0 and no pyramid keep the IBBP order the cut relies on.
    return ["-c:v", "libx264", "-preset", "superfast", "-profile:v", "high", "-b:v", "8M" if main else "2M",
            "-x264-params", "interlaced=1:tff=1:keyint=15:min-keyint=15:scenecut=0:bframes=2:"
                            "b-adapt=0:b-pyramid=none"]


def video_command(service, options, frames, path):
    """Encodes at twice the frame rate, then weaves fields of successive moments into frames."""
    source = f"{service.pattern}=size={service.width}x{service.height}:rate=60000/1001"
    filters = f"tinterlace=mode=interleave_top,setfield=tff,setsar={service.sar},format=yuv420p"
    # The 5 s offset leaves room for audio that starts up to 3 s before the video.
    return ["ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", source, "-vf", filters,
            "-frames:v", str(frames), *video_codec_arguments(options.video, service.index == 0),
            "-color_primaries", "bt709", "-color_trc", "bt709", "-colorspace", "bt709",
            "-output_ts_offset", "5", "-f", "mpegts", path]


def encode_aac_frames(tones, frames, path):
    """Returns exactly `frames` ADTS frames of one tone per channel."""
    layout = "stereo" if len(tones) == 2 else "5.1"
    expressions = "|".join(f"0.25*sin(2*PI*{hz}*t)" for hz in tones)
    seconds = (frames + 2) * 1024 / 48000
    run(["ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi",
         "-i", f"aevalsrc=exprs={expressions}:s=48000:c={layout}:d={seconds:.6f}",
         "-c:a", "aac", "-b:a", "192k" if layout == "stereo" else "384k", "-f", "adts", path])
    with open(path, "rb") as source:
        found = adts_frames(source.read())
    if len(found) < frames:
        raise RuntimeError(f"the AAC encoder gave {len(found)} frames, {frames} were needed")
    return found[:frames]


def adts_frames(data):
    frames, at = [], 0
    while at < len(data):
        if data[at] != 0xFF or data[at + 1] & 0xF0 != 0xF0:
            raise RuntimeError(f"no ADTS sync at byte {at}")
        length = ((data[at + 3] & 3) << 11) | (data[at + 4] << 3) | (data[at + 5] >> 5)
        frames.append(data[at:at + length])
        at += length
    return frames


def write_audio(service, frames, surround_frame, path):
    """The main service's audio turns to 5.1 at `surround_frame`, as between two programmes."""
    if service.index == 0 and surround_frame is not None:
        head = encode_aac_frames(service.tones, surround_frame, path)
        tail = encode_aac_frames(SURROUND_TONES, frames - surround_frame, path)
    else:
        head, tail = encode_aac_frames(service.tones, frames, path), []
    with open(path, "wb") as out:
        out.write(b"".join(head + tail))


def mux(services, video_paths, audio_paths, audio_starts, path):
    """Muxes copies of the encoded streams; -copyts keeps the audio where -itsoffset puts it."""
    command = ["ffmpeg", "-nostdin", "-v", "error", "-y", "-copyts"]
    for video, audio, start in zip(video_paths, audio_paths, audio_starts):
        command += ["-i", video, "-itsoffset", f"{start / CLOCK:.6f}", "-i", audio]
    for n, service in enumerate(services):
        command += ["-map", f"{2 * n}:v", "-map", f"{2 * n + 1}:a",
                    "-streamid", f"{2 * n}:{service.video_pid}", "-streamid", f"{2 * n + 1}:{service.audio_pid}"]
    command += ["-c", "copy", "-f", "mpegts", "-pes_payload_size", "0",
                "-mpegts_pmt_start_pid", str(services[0].pmt_pid),
                "-mpegts_transport_stream_id", "0x7FE0", "-mpegts_original_network_id", "0x7FE0"]
    for n, service in enumerate(services):
        command += ["-program", f"program_num={service.service_id}:title=TEST{n + 1}:st={2 * n}:st={2 * n + 1}"]
    run(command + [path])


# ---------------------------------------------------------------- TS packets

def read_packets(path):
    with open(path, "rb") as source:
        data = source.read()
    if len(data) % TS_SIZE or any(data[at] != 0x47 for at in range(0, len(data), TS_SIZE)):
        raise RuntimeError(f"{path} is not a plain 188-byte TS")
    return [bytearray(data[at:at + TS_SIZE]) for at in range(0, len(data), TS_SIZE)]


def pid_of(packet):
    return ((packet[1] & 0x1F) << 8) | packet[2]


def starts_unit(packet):
    return bool(packet[1] & 0x40)


def payload_offset(packet):
    return 5 + packet[4] if packet[3] & 0x20 else 4


def has_pcr(packet):
    return bool(packet[3] & 0x20 and packet[4] >= 7 and packet[5] & 0x10)


def random_access(packet):
    return bool(packet[3] & 0x20 and packet[4] >= 1 and packet[5] & 0x40)


def read_pcr_base(packet):
    p = packet
    return (p[6] << 25) | (p[7] << 17) | (p[8] << 9) | (p[9] << 1) | (p[10] >> 7)


def write_pcr_base(packet, base):
    packet[6:10] = ((base >> 1) & 0xFFFFFFFF).to_bytes(4, "big")
    packet[10] = ((base & 1) << 7) | (packet[10] & 0x7F)


def read_timestamp(data, at):
    return (((data[at] >> 1) & 7) << 30) | (data[at + 1] << 22) | ((data[at + 2] >> 1) << 15) \
        | (data[at + 3] << 7) | (data[at + 4] >> 1)


def write_timestamp(data, at, value):
    data[at] = (data[at] & 0xF0) | ((value >> 29) & 0x0E) | 1
    data[at + 1] = (value >> 22) & 0xFF
    data[at + 2] = ((value >> 14) & 0xFE) | 1
    data[at + 3] = (value >> 7) & 0xFF
    data[at + 4] = ((value << 1) & 0xFE) | 1


def pes_timestamp_offsets(packet):
    """Where the PTS and DTS of a PES header starting in this packet lie (None where absent)."""
    at = payload_offset(packet)
    if packet[at:at + 3] != b"\x00\x00\x01" or at + 19 > TS_SIZE:
        return None, None
    flags = packet[at + 7] >> 6
    return (at + 9 if flags & 2 else None), (at + 14 if flags == 3 else None)


def video_frames(packets, pid):
    """(packet index, PTS, DTS, key) of each PES on `pid`, in stream order."""
    frames = []
    for index, packet in enumerate(packets):
        if pid_of(packet) == pid and starts_unit(packet):
            pts_at, dts_at = pes_timestamp_offsets(packet)
            pts = read_timestamp(packet, pts_at)
            frames.append((index, pts, read_timestamp(packet, dts_at) if dts_at else pts, random_access(packet)))
    return frames


def first_pts(packets, pid):
    for packet in packets:
        if pid_of(packet) == pid and starts_unit(packet):
            return read_timestamp(packet, pes_timestamp_offsets(packet)[0])
    raise RuntimeError(f"no PES on PID {pid:#x}")


def choose_cut(frames, cut):
    """Index of the first frame kept: from the sixth frame on, the first non-key one shown before
    all that follow it (in IBBP order a B picture, the fifth shown), so that the recording's first
    PTS is also its smallest."""
    if not cut:
        return 0
    later_min = [None] * len(frames)
    smallest = float("inf")
    for n in range(len(frames) - 1, -1, -1):
        later_min[n] = smallest
        smallest = min(smallest, frames[n][1])
    for n in range(5, len(frames) - 1):
        if not frames[n][3] and frames[n][1] < later_min[n]:
            return n
    raise RuntimeError("found no picture to start the recording at")


def packetize(pid, payload, counter):
    """TS packets carrying one PES; the last is padded with adaptation-field stuffing."""
    packets = []
    for at in range(0, len(payload), 184):
        chunk = payload[at:at + 184]
        header = bytearray([0x47, (0x40 if at == 0 else 0) | (pid >> 8), pid & 0xFF, 0x10 | counter[0]])
        if len(chunk) < 184:
            header[3] |= 0x20
            stuffing = 183 - len(chunk)
            header += bytes([stuffing]) + (bytes([0x00]) + b"\xFF" * (stuffing - 1) if stuffing else b"")
        packets.append(header + chunk)
        counter[0] = (counter[0] + 1) & 0x0F
    return packets


# ---------------------------------------------------------------- PMT

def crc(data, width, polynomial, start):
    """A CRC as MPEG (32 bits, 0x04C11DB7, from all ones) and ARIB (16 bits, 0x1021, from 0) take it."""
    top = 1 << (width - 1)
    mask = (1 << width) - 1
    value = start
    for byte in data:
        value ^= byte << (width - 8)
        for _ in range(8):
            value = ((value << 1) ^ polynomial) & mask if value & top else (value << 1) & mask
    return value


def crc32_mpeg(data):
    return crc(data, 32, 0x04C11DB7, 0xFFFFFFFF)


def elementary_stream(stream_type, pid, descriptors):
    return bytes([stream_type, 0xE0 | (pid >> 8), pid & 0xFF, 0xF0 | (len(descriptors) >> 8),
                  len(descriptors) & 0xFF]) + descriptors


def stream_identifier(component_tag):
    return bytes([0x52, 1, component_tag])


def pmt_section(service, video_type, with_captions):
    streams = elementary_stream(video_type, service.video_pid, stream_identifier(0x00))
    streams += elementary_stream(0x0F, service.audio_pid, stream_identifier(0x10))
    if with_captions:
        # ffmpeg calls it arib_caption only with both: data_component_id 0x0008 and a component
        # tag of 0x30-0x37. 0x3D: DMF 0011, Timing 01 (with the programme).
        streams += elementary_stream(0x06, CAPTION_PID, stream_identifier(0x30) + bytes([0xFD, 3, 0x00, 0x08, 0x3D]))
    body = service.service_id.to_bytes(2, "big") + bytes([0xC1, 0x00, 0x00]) \
        + bytes([0xE0 | (service.video_pid >> 8), service.video_pid & 0xFF, 0xF0, 0x00]) + streams
    length = len(body) + 4
    section = bytes([0x02, 0xB0 | (length >> 8), length & 0xFF]) + body
    return section + crc32_mpeg(section).to_bytes(4, "big")


def rewrite_pmts(packets, sections):
    """Puts each service's own PMT in place of ffmpeg's, packet for packet, so counters stay."""
    for packet in packets:
        section = sections.get(pid_of(packet))
        if section is None:
            continue
        if not starts_unit(packet) or packet[3] & 0x20:
            raise RuntimeError("a PMT spread over several packets; only single-packet PMTs are handled")
        payload = b"\x00" + section
        packet[4:] = payload + b"\xFF" * (184 - len(payload))


# ---------------------------------------------------------------- ARIB captions

CS, APR, APS, LS0, LS1 = 0x0C, 0x0D, 0x1C, 0x0F, 0x0E
MSZ, NSZ, WHF, YLF, CSI = 0x89, 0x8A, 0x87, 0x83, 0x9B
ALPHANUMERIC = set(chr(c) for c in range(0x21, 0x7F)) - {"\\", "~"}  # ARIB's set differs there
ROWS = 8  # SDF 620x480 with 36+24 dot rows


def csi(parameters, final):
    return bytes([CSI]) + parameters.encode("ascii") + bytes([0x20, ord(final)])


# SWF 7 (960x540 horizontal), SDF, SDP, SSM, SHS, SVS: the screen a profile A receiver starts with.
SCREEN_FORMAT = csi("7", "S") + csi("620;480", "V") + csi("170;30", "_") + csi("36;36", "W") \
    + csi("4", "X") + csi("24", "Y")


def jis_character(character):
    """The 8-bit code of one character: hiragana 1 byte in GR (G2), all else 2 bytes in GL (G0)."""
    if " " < character < "\x7f":
        character = chr(ord(character) + 0xFEE0)  # \ and ~ go full-width
    try:
        euc = character.encode("euc_jp")
    except UnicodeEncodeError:
        euc = b""
    if len(euc) != 2 or not (0xA1 <= euc[0] <= 0xFE and 0xA1 <= euc[1] <= 0xFE):
        raise ValueError(f"{character!r} is not in JIS X 0208, so a caption cannot carry it")
    if euc[0] == 0xA4 and euc[1] <= 0xF3:
        return bytes([euc[1]])
    return bytes([euc[0] - 0x80, euc[1] - 0x80])


def encode_line(line):
    out, alphanumeric = bytearray(), False
    for character in line:
        if character == " ":
            out.append(0x20)
            continue
        if (character in ALPHANUMERIC) != alphanumeric:
            alphanumeric = not alphanumeric
            out += bytes([MSZ, LS1]) if alphanumeric else bytes([LS0, NSZ])
        out += character.encode("ascii") if alphanumeric else jis_character(character)
    if alphanumeric:
        out += bytes([LS0, NSZ])
    return bytes(out)


def statement_text(text):
    lines = text.split("\n")
    first_row = max(0, ROWS - len(lines))
    out = bytearray([CS]) + SCREEN_FORMAT + bytes([APS, 0x40 + first_row, 0x40])
    for number, line in enumerate(lines):
        if number:
            out.append(APR)
        out.append(WHF if number % 2 == 0 else YLF)
        out += encode_line(line)
    return bytes(out)


def crc16_ccitt(data):
    return crc(data, 16, 0x1021, 0)


def management_data(languages):
    out = bytearray([0x3F, len(languages)])  # TMD 00 (free)
    for tag, code in enumerate(languages):
        # DMF 1010: shown when selected, on air and on playback. Format 0111: 960x540 horizontal.
        out += bytes([(tag << 5) | 0x10 | 0b1010]) + code.encode("ascii") + bytes([0b0111_00_00])
    return bytes(out + b"\x00\x00\x00")  # no data units


def statement_data(body):
    unit = bytes([0x1F, 0x20]) + len(body).to_bytes(3, "big") + body  # statement body unit
    return bytes([0x3F]) + len(unit).to_bytes(3, "big") + unit


def data_group(group_id, version, data):
    head = bytes([(group_id << 2) | version, 0x00, 0x00]) + len(data).to_bytes(2, "big") + data
    return head + crc16_ccitt(head).to_bytes(2, "big")


def damaged(group, damage):
    if damage == "crc":
        return group[:-1] + bytes([group[-1] ^ 0xFF])
    if damage == "truncate":
        return group[:5 + (len(group) - 7) // 2]  # the header and half the data, no CRC
    return group


def caption_pes(pts, group):
    payload = bytes([0x80, 0xFF, 0xF0]) + group  # synchronised PES data, no private header bytes
    pts_field = bytearray([0x20, 0, 0, 0, 0])  # '0010': a PTS alone
    write_timestamp(pts_field, 0, pts % WRAP)
    header = bytes([0x84, 0x80, 5]) + pts_field  # data aligned, PTS only
    return b"\x00\x00\x01\xBD" + (len(header) + len(payload)).to_bytes(2, "big") + header + payload


def caption_plan(events, kind, video_start, lead, end):
    """The caption PES packets in time order, as CaptionPes without their TS packets yet."""
    management_from = video_start - max(lead, 0) * CLOCK
    management = []
    t = management_from
    while t < end:
        management.append(CaptionPes(round(t), 0, "management"))
        t += MANAGEMENT_EVERY * CLOCK
    if kind == "empty":
        return []
    if kind == "management-only":
        return management
    plan = list(management)
    for order, event in enumerate(sorted(events, key=lambda e: e["at"]), start=1):
        pts = round(video_start + event["at"] * CLOCK)
        if not management_from <= pts < end:
            print(f"broadcast_recording.py: caption event at {event['at']} s lies outside the recording; left out",
                  file=sys.stderr)
            continue
        if event.get("switch_group"):
            plan.append(CaptionPes(pts, order, "switch"))
            continue
        plan.append(CaptionPes(pts, order, "statement", event.get("language", 1), event.get("text", ""),
                               bool(event.get("clear")), event.get("damage", "")))
    plan.sort(key=lambda pes: (pes.pts, pes.order))
    if kind == "broken":
        texts = [pes for pes in plan if pes.kind == "statement" and not pes.clear]
        for number, pes in enumerate(texts[1::2]):
            pes.damage = pes.damage or ("crc", "truncate")[number % 2]
    return plan


def build_caption_packets(plan, languages):
    """Fills in each PES's TS packets; a switch sends management at once in the other group."""
    counter, group, version = [0], 0x00, 0
    sent = []
    for pes in plan:
        if pes.kind == "switch":
            group, version = group ^ 0x20, (version + 1) & 3
            pes.kind = "management"
        if pes.kind == "management":
            body = data_group(group, version, management_data(languages))
        else:
            text = b"\x0C" if pes.clear else statement_text(pes.text)
            body = damaged(data_group(group | pes.language, version, statement_data(text)), pes.damage)
        pes.packets = packetize(CAPTION_PID, caption_pes(pes.pts, body), counter)
        sent.append(pes)
    return sent


def interleave(packets, captions, video_pid):
    """Puts each caption PES before the first video PES whose DTS is past its PTS less 0.2 s, as
    a muxer interleaving by DTS would, a little ahead; what is due after the last picture goes
    at the end."""
    out, pending = [], list(captions)
    for packet in packets:
        if pending and pid_of(packet) == video_pid and starts_unit(packet):
            pts_at, dts_at = pes_timestamp_offsets(packet)
            dts = read_timestamp(packet, dts_at or pts_at)
            while pending and pending[0].pts <= dts + CLOCK // 5:
                out += pending.pop(0).packets
        out.append(packet)
    for pes in pending:
        out += pes.packets
    return out


# ---------------------------------------------------------------- timestamps

def shift_timestamps(packets, pes_pids, pcr_shift, pes_shift):
    """Adds pcr_shift to every PCR and pes_shift[pid] to every PTS and DTS, modulo 2^33."""
    for packet in packets:
        if has_pcr(packet):
            write_pcr_base(packet, (read_pcr_base(packet) + pcr_shift) % WRAP)
        pid = pid_of(packet)
        if pid in pes_pids and starts_unit(packet):
            for at in pes_timestamp_offsets(packet):
                if at is not None:
                    write_timestamp(packet, at, (read_timestamp(packet, at) + pes_shift[pid]) % WRAP)


def drop_before(packets, pid, index):
    """Leaves out the packets of `pid` before packet `index`: the recording began there."""
    return [packet for n, packet in enumerate(packets) if n >= index or pid_of(packet) != pid]


# ---------------------------------------------------------------- the whole

def surround_frame(options, lead):
    """The AAC frame, counted from the audio's first, at which 5.1 begins (None: stays stereo)."""
    if options.surround_from is None:
        return None
    return round((lead + options.surround_from * CLOCK) / AAC_FRAME_TICKS)


def encode_sources(services, options, lead, workdir):
    """Encodes each service's video, then audio just long enough to run from `lead` before the
    video's first kept picture to its end. Returns the files and where each audio must start."""
    frames_wanted = round(options.seconds * 30000 / 1001) + (4 if options.cut_mid_gop else 0)
    video_paths = [os.path.join(workdir, f"video{service.index}.ts") for service in services]
    run(*(video_command(service, options, frames_wanted, path) for service, path in zip(services, video_paths)))
    audio_paths, audio_starts = [], []
    for service, path in zip(services, video_paths):
        frames = video_frames(read_packets(path), 0x100)  # ffmpeg's first PID
        kept = frames[choose_cut(frames, options.cut_mid_gop):]
        start = min(frame[1] for frame in kept)
        duration = max(frame[1] for frame in kept) + FRAME_TICKS - start
        audio_path = os.path.join(workdir, f"audio{service.index}.aac")
        write_audio(service, -(-(lead + duration) // AAC_FRAME_TICKS), surround_frame(options, lead), audio_path)
        audio_paths.append(audio_path)
        audio_starts.append(start - lead)
    return video_paths, audio_paths, audio_starts


def cut_and_line_up(packets, services, cut, lead):
    """Cuts each video where the recording begins and finds how far each audio must move to
    start exactly `lead` before it (-itsoffset was rounded to microseconds).
    Returns the packets, each service's first video PTS and the PTS shift per PID."""
    starts, pes_shift = {}, {}
    for service in services:
        frames = video_frames(packets, service.video_pid)
        first = choose_cut(frames, cut)
        packets = drop_before(packets, service.video_pid, frames[first][0])
        starts[service.index] = frames[first][1]
        pes_shift[service.video_pid] = 0
        pes_shift[service.audio_pid] = frames[first][1] - lead - first_pts(packets, service.audio_pid)
        if abs(pes_shift[service.audio_pid]) > AAC_FRAME_TICKS:
            raise RuntimeError("the audio landed far from where it was put")
    return packets, starts, pes_shift


def add_captions(packets, events, options, main, video_start):
    video_end = max(frame[1] for frame in video_frames(packets, main.video_pid)) + FRAME_TICKS
    languages = ["jpn", "eng"] if any(event.get("language", 1) == 2 for event in events) else ["jpn"]
    plan = caption_plan(events, options.caption_stream, video_start, options.audio_lead, video_end)
    captions = build_caption_packets(plan, languages)
    return interleave(packets, captions, main.video_pid), captions


def make_recording(options, events, workdir):
    services = services_for(options)
    lead = round(options.audio_lead * CLOCK)
    muxed = os.path.join(workdir, "muxed.ts")
    mux(services, *encode_sources(services, options, lead, workdir), muxed)
    packets, starts, pes_shift = cut_and_line_up(read_packets(muxed), services, options.cut_mid_gop, lead)

    with_captions = bool(options.caption_stream)
    video_type = 0x02 if options.video == "mpeg2" else 0x1B
    rewrite_pmts(packets, {s.pmt_pid: pmt_section(s, video_type, with_captions and s.index == 0) for s in services})
    captions = []
    if with_captions:
        packets, captions = add_captions(packets, events, options, services[0], starts[0])
        pes_shift[CAPTION_PID] = 0

    shift = round(options.pts_start * CLOCK) - (starts[0] - max(lead, 0))
    shift_timestamps(packets, set(pes_shift), shift, {pid: shift + extra for pid, extra in pes_shift.items()})
    with open(options.output, "wb") as out:
        out.writelines(packets)
    return summary(services, starts, lead, shift, captions, options, with_captions)


def summary(services, starts, lead, shift, captions, options, with_captions):
    surround = surround_frame(options, lead)
    return {
        "services": [{
            "service_id": s.service_id, "pmt_pid": s.pmt_pid, "video_pid": s.video_pid,
            "audio_pid": s.audio_pid, "caption_pid": CAPTION_PID if with_captions and s.index == 0 else None,
            "video_first_pts": (starts[s.index] + shift) % WRAP,
            "audio_first_pts": (starts[s.index] - lead + shift) % WRAP,
        } for s in services],
        "surround_from_pts": None if surround is None
        else (starts[0] - lead + shift + surround * AAC_FRAME_TICKS) % WRAP,
        "captions": [{
            "pts": (pes.pts + shift) % WRAP, "kind": pes.kind, "language": pes.language or None,
            "text": pes.text if pes.kind == "statement" and not pes.clear else None,
            "clear": pes.clear, "damage": pes.damage or None,
        } for pes in captions],
    }


def main(argv=None):
    options = parse_arguments(argv)
    try:
        events = load_caption_events(options)
        with tempfile.TemporaryDirectory(prefix="broadcast-recording-") as workdir:
            made = make_recording(options, events, workdir)
        if options.summary:
            with open(options.summary, "w", encoding="utf-8") as out:
                json.dump(made, out, ensure_ascii=False, indent=1)
    except (OSError, ValueError, RuntimeError) as error:
        print(f"broadcast_recording.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
