#!/usr/bin/env python3
"""Writes the sample text sets of res/Cliplist/ in the layout the program itself writes:
[Basic], then every position of pages 1 to 3, code page 932 bytes, lines ended by CR LF.
Line breaks inside a text are written as backslash + n.

    scripts/make-cliplist.py            # writes res/Cliplist/*.ini
"""
import pathlib

LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

BUSINESS = {
    "title": "ビジネスメール",
    "history": 1, "top": 26, "bottom": 51, "load": 0,
    1: [
        "いつもお世話になっております。",
        "お忙しいところ恐れ入りますが、よろしくお願いいたします。",
        "ご確認のほど、よろしくお願い申し上げます。",
        "取り急ぎ、ご連絡まで。",
        "今後ともよろしくお願いいたします。",
        "ご返信いただき、ありがとうございます。",
        "承知いたしました。",
        "ご迷惑をおかけして、大変申し訳ございません。",
        "お手数をおかけしますが、ご対応のほどお願いいたします。",
        "ご不明な点がございましたら、お気軽にお問い合わせください。",
        "以上、よろしくお願いいたします。",
        "",
        "○○株式会社\n○○部 ○○様",
        "〒000-0000\n東京都○○区○○町1-2-3 ○○ビル5階",
        "--------------------------------\n株式会社サンプル ソフトウェア開発部\n"
        "山田 太郎\nTEL: 00-0000-0000\n--------------------------------",
    ],
    2: [
        "お疲れさまです。",
        "よろしくお願いします。",
    ],
    3: [
        "打ち合わせの日程について、ご都合のよい日時を以下の候補からお知らせください。",
        "資料を添付いたしましたので、ご査収ください。",
        "本日はお時間をいただき、誠にありがとうございました。",
        "ご指摘いただいた点を修正いたしました。ご確認をお願いいたします。",
        "恐れ入りますが、期日までにご回答いただけますと幸いです。",
        "先日の件につきまして、進捗をご報告いたします。",
        "お見積書を送付いたします。ご検討のほど、よろしくお願いいたします。",
        "誠に勝手ながら、下記の期間は休業とさせていただきます。",
        "件名：\n\n○○様\n\nいつもお世話になっております。\n\n\n\n以上、よろしくお願いいたします。",
    ],
}

PHRASES = {
    "title": "定型句",
    "history": 0, "top": -1, "bottom": -1, "load": 0,
    1: [
        "ありがとうございます。",
        "おはようございます。",
        "お疲れさまです。",
        "よろしくお願いします。",
        "了解しました。",
        "すみません、少し遅れます。",
        "今から向かいます。",
        "後ほど折り返しご連絡します。",
        "会議中のため、後ほどご連絡します。",
        "本日はお休みをいただいております。",
        "確認して、改めてご連絡します。",
        "ご連絡ありがとうございました。",
    ],
    2: [
        "【重要】",
        "【至急】",
        "【ご案内】",
        "【再送】",
        "※",
        "→",
        "★",
        "〒",
        "「」",
        "『』",
        "（）",
        "・",
        "…",
    ],
    3: [
        "議事録\n日時：\n場所：\n出席者：\n議題：\n決定事項：\n次回の予定：",
        "お問い合わせいただき、ありがとうございます。\n担当者より折り返しご連絡いたします。",
        "作業報告\n本日の作業：\n明日の予定：\n課題・相談：",
        "不在のお知らせ\n○月○日から○月○日まで不在にしております。\n"
        "お急ぎの場合は、○○までご連絡ください。",
    ],
}


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r"))


def layout(textset):
    lines = ["[Basic]", "Title=" + textset["title"], "History=%d" % textset["history"],
             "Top=%d" % textset["top"], "Bottom=%d" % textset["bottom"],
             "LoadHistory=%d" % textset["load"]]
    for page in (1, 2, 3):
        texts = textset.get(page, [])
        lines += ["", "[Page.%d]" % page]
        for i, letter in enumerate(LETTERS):
            lines.append(letter + "=" + escape(texts[i] if i < len(texts) else ""))
    return "".join(line + "\r\n" for line in lines).encode("cp932")


folder = pathlib.Path(__file__).resolve().parent.parent / "res" / "Cliplist"
folder.mkdir(parents=True, exist_ok=True)
(folder / "Business.ini").write_bytes(layout(BUSINESS))
(folder / "Phrases.ini").write_bytes(layout(PHRASES))
